#pragma once

#include <QString>
#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "pelorin/limits.h"
#include "pelorin/value_info.h"

namespace pelorin {

// What the chart shows beyond its grid of rows and values, row r at index r - 1. A list whose
// length differs from the row count is not used.
struct ChartDetails {
    std::vector<double> times;  // each record's time counter (value 0), whole seconds
    // Minimum, maximum, average and actual of the charted quantity; empty vectors for a value
    // that is none of the four statistics.
    std::array<std::vector<double>, kStatisticsCount> statistics;
    // Which of the four is the charted value itself, -1 for none: its vector stays empty, as
    // the chart's grid holds that column.
    int chartedStatistic = -1;
    QString valueName;          // what the charted value is: "average Bus Voltage"; "" for none
    QString quantityName;       // the quantity of the four statistics: "Bus Voltage"
    bool wholeNumbers = false;  // the value axis ticks at whole numbers only
    // The value as its value box writes it; the chart's general number text when unset.
    std::function<QString(double)> valueText;
};

// The column of statistic `s` (0..3) of a drawing whose grid holds `values`.
inline const std::vector<double>& StatisticColumn(const ChartDetails& details,
                                                  const std::vector<double>& values, int s) {
    return s == details.chartedStatistic ? values : details.statistics[static_cast<std::size_t>(s)];
}

// The user's normal ranges of what the chart may show.
struct ChartLimits {
    ValueLimits value;                                     // of the charted value
    std::array<ValueLimits, kStatisticsCount> statistics;  // of its quantity's four values

    bool operator==(const ChartLimits&) const = default;
    bool any() const {
        auto set = [](const ValueLimits& bounds) { return bounds.low || bounds.high; };
        return set(value) || std::any_of(statistics.begin(), statistics.end(), set);
    }
};

}  // namespace pelorin
