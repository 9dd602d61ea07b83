#include "ChartSettings.h"

#include <QSettings>
#include <QString>
#include <array>
#include <utility>

namespace pelorin {
namespace {

const QString kTimeAxisKey = QStringLiteral("chart/timeAxis");
const QString kValueAxisKey = QStringLiteral("chart/valueAxis");
const QString kStatisticsKey = QStringLiteral("chart/showStatistics");

// How each choice is written in the settings file.
const std::array<std::pair<TimeAxisChoice, QString>, 2> kTimeAxisNames = {{
    {TimeAxisChoice::RecordNumber, QStringLiteral("recordNumber")},
    {TimeAxisChoice::OnBoardTime, QStringLiteral("onBoardTime")},
}};
const std::array<std::pair<ValueScale, QString>, 2> kValueScaleNames = {{
    {ValueScale::FitToValues, QStringLiteral("fitToValues")},
    {ValueScale::StartAtZero, QStringLiteral("startAtZero")},
}};

template <typename Choice, std::size_t N>
Choice Read(const QSettings& settings, const QString& key,
            const std::array<std::pair<Choice, QString>, N>& names, Choice fallback) {
    const QString written = settings.value(key).toString();
    for (const auto& [choice, name] : names) {
        if (name == written) {
            return choice;
        }
    }
    return fallback;
}

template <typename Choice, std::size_t N>
QString NameOf(Choice choice, const std::array<std::pair<Choice, QString>, N>& names) {
    for (const auto& [known, name] : names) {
        if (known == choice) {
            return name;
        }
    }
    return names.front().second;
}

}  // namespace

ChartOptions LoadChartOptions() {
    const QSettings settings;
    const ChartOptions defaults;
    ChartOptions options;
    options.timeAxis = Read(settings, kTimeAxisKey, kTimeAxisNames, defaults.timeAxis);
    options.valueScale = Read(settings, kValueAxisKey, kValueScaleNames, defaults.valueScale);
    options.showStatistics = settings.value(kStatisticsKey, defaults.showStatistics).toBool();
    return options;
}

void SaveChartOptions(const ChartOptions& options) {
    QSettings settings;
    settings.setValue(kTimeAxisKey, NameOf(options.timeAxis, kTimeAxisNames));
    settings.setValue(kValueAxisKey, NameOf(options.valueScale, kValueScaleNames));
    settings.setValue(kStatisticsKey, options.showStatistics);
}

}  // namespace pelorin
