#include "ChartFeed.h"

#include "QtText.h"
#include "ValueText.h"
#include "pelorin/value_info.h"

namespace pelorin {
namespace {

std::vector<double> Column(const TelemetryStore& store, int index) {
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(store.RecordCount()));
    for (int rec = 1; rec <= store.RecordCount(); ++rec) {
        values.push_back(store.value(rec, index));
    }
    return values;
}

}  // namespace

ChartDetails ChartDetailsFor(const TelemetryStore& store, int index,
                             const std::string& decimalSeparator) {
    ChartDetails details;
    details.times = Column(store, FirstOfKind(ValueKind::Time));
    details.valueName = QString::fromStdString(ValueName(index));
    details.quantityName = details.valueName;
    if (const int statistic = StatisticOf(index); statistic >= 0) {
        const int first = index - statistic;
        for (int s = 0; s < kStatisticsCount; ++s) {
            if (s != statistic) {
                details.statistics[static_cast<std::size_t>(s)] = Column(store, first + s);
            }
        }
        details.chartedStatistic = statistic;
        details.quantityName = ToQString(TrimmedCaption(index));
    }
    details.wholeNumbers = InfoOf(index).kind != ValueKind::Measured;
    details.valueText = [index, decimalSeparator](double value) {
        return QString::fromStdString(ValueBoxText(value, index, decimalSeparator));
    };
    return details;
}

ChartLimits ChartLimitsFor(const LimitTable& limits, int index) {
    ChartLimits chartLimits;
    chartLimits.value = limits[static_cast<std::size_t>(index)];
    if (const int statistic = StatisticOf(index); statistic >= 0) {
        const int first = index - statistic;
        for (int s = 0; s < kStatisticsCount; ++s) {
            chartLimits.statistics[static_cast<std::size_t>(s)] =
                limits[static_cast<std::size_t>(first + s)];
        }
    }
    return chartLimits;
}

}  // namespace pelorin
