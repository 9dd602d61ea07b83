#include "ChartTexts.h"

#include "ChartNumberText.h"
#include "QtText.h"
#include "pelorin/number_text.h"

namespace pelorin {
namespace {

const QString kOutOfLimits = QStringLiteral(" (out of limits)");
const QString kAllStatistics = QStringLiteral("minimum, maximum, average and actual ");

QString WithUnit(const QString& text, const QString& unit) {
    return unit.isEmpty() ? text : text + QStringLiteral(" [") + unit + QLatin1Char(']');
}

QString ValueWithUnit(const ChartDetails& details, const QString& unit, const ShownValue& shown) {
    QString text =
        details.valueText ? details.valueText(shown.value) : ChartNumberText(shown.value);
    if (!unit.isEmpty()) {
        text += QLatin1Char(' ') + unit;
    }
    return shown.outOfLimits ? text + kOutOfLimits : text;
}

QString RecordPrefix(const QString& rowLabel) {
    return QStringLiteral("Record ") + rowLabel + QStringLiteral(": ");
}

}  // namespace

QString RowToolTip(const QString& rowLabel, const ChartDetails& details, const QString& unit,
                   const ShownValue& value) {
    QString text = RecordPrefix(rowLabel);
    if (!details.valueName.isEmpty()) {
        text += details.valueName + QLatin1Char(' ');
    }
    return text + ValueWithUnit(details, unit, value);
}

QString StatisticsToolTip(const QString& rowLabel, const ChartDetails& details, const QString& unit,
                          const std::array<ShownValue, kStatisticsCount>& values) {
    QString text = RecordPrefix(rowLabel) + details.quantityName;
    for (std::size_t s = 0; s < values.size(); ++s) {
        text += QLatin1Char('\n') + ToQString(kStatisticNames[s]);
        text += QLatin1Char(' ') + ValueWithUnit(details, unit, values[s]);
    }
    return text;
}

QString PictureTitle(const ChartDetails& details, const QString& unit, bool statistics) {
    return WithUnit(statistics ? kAllStatistics + details.quantityName : details.valueName, unit);
}

QString ValueAxisName(const ChartDetails& details, const QString& unit) {
    return WithUnit(details.quantityName, unit);
}

QString RecordRangeText(const QString& firstLabel, const QString& lastLabel, int rowCount) {
    if (rowCount < 1) {
        return {};
    }
    const QString of = QStringLiteral(" of ") + QString::fromStdString(FormatInteger(rowCount));
    if (firstLabel == lastLabel) {
        return QStringLiteral("Record ") + firstLabel + of;
    }
    return QStringLiteral("Records ") + firstLabel + QStringLiteral(" to ") + lastLabel + of;
}

}  // namespace pelorin
