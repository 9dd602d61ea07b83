#pragma once

#include <vector>

#include "ChartDetails.h"
#include "RowKeys.h"

namespace pelorin {

// What the chart draws, one entry per row in row order.
struct SceneRows {
    std::vector<double> keys;      // x of each row
    double barWidth = kBarShare;   // in x
    std::vector<double> tops;      // the value, or the maximum of the four statistics
    std::vector<double> bases;     // empty: bars stand on zero; else the minimum
    std::vector<char> barFlagged;  // out of limits; empty when no limit applies
    // The average and actual marks, empty unless the four statistics show.
    std::vector<double> averages;
    std::vector<double> actuals;
    std::vector<char> averageFlagged;
    std::vector<char> actualFlagged;
};

// The rows of a drawing of `values` placed at `keys`: bars of the values, or with `statistics`
// the minimum-to-maximum bars of the four statistics (StatisticColumn) and their average and
// actual marks. A bar is flagged when its value, minimum or maximum is out of limits, a mark when
// its own value is.
SceneRows BuildSceneRows(const RowKeys& keys, const std::vector<double>& values,
                         const ChartDetails& details, const ChartLimits& limits, bool statistics);

}  // namespace pelorin
