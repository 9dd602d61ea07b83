#include "history/HoverText.h"

#include <QCoreApplication>
#include <QStringList>
#include <array>
#include <cmath>

#include "ValueText.h"

namespace pelorin::history {
namespace {

const QString kSeparator = QStringLiteral("  \u00b7  ");
constexpr std::array<const char*, 4> kStatistics{"min", "max", "avg", "act"};

QString Tr(const char* text) {
    return QCoreApplication::translate("HoverText", text);
}

}  // namespace

QString HoverFrameText(const HistoryData& data, std::size_t frame,
                       std::string_view decimalSeparator) {
    const double received = data.received[frame];
    const QString reception =
        std::isnan(received)
            ? Tr("never received")
            : Tr("received %1").arg(QString::fromStdString(FormatUtcTime(Millis(received))));
    const QString onboard = Tr("on board %1")
                                .arg(QString::fromStdString(ValueBoxText(
                                    data.onboard[frame], kOnboardTimeValue, decimalSeparator)));
    QStringList stations;
    for (const std::string& s : data.stations(frame)) {
        stations << (s.empty() ? Tr("(unnamed)") : QString::fromStdString(s));
    }
    return reception + kSeparator + onboard + kSeparator +
           Tr("heard by %1").arg(stations.join(QStringLiteral(", ")));
}

QString HoverValuesText(const HistoryData& data, std::size_t frame,
                        const std::vector<int>& valueIndices, std::string_view decimalSeparator) {
    QStringList parts;
    for (std::size_t k = 0; k < valueIndices.size(); ++k) {
        const std::vector<float>* column = data.column(valueIndices[k]);
        if (column == nullptr) {
            return {};  // not read yet
        }
        const QString text = QString::fromStdString(
            ValueBoxText((*column)[frame], valueIndices[k], decimalSeparator));
        parts << (valueIndices.size() == kStatistics.size()
                      ? QStringLiteral("%1 %2").arg(Tr(kStatistics[k]), text)
                      : text);
    }
    return parts.join(kSeparator);
}

}  // namespace pelorin::history
