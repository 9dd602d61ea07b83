#include "SceneRows.h"

namespace pelorin {
namespace {

enum Statistic { kMinimum, kMaximum, kAverage, kActual };

std::vector<char> Flags(const std::vector<double>& values, const ValueLimits& limits) {
    std::vector<char> flagged;
    if (limits.low || limits.high) {
        flagged.reserve(values.size());
        for (double value : values) {
            flagged.push_back(IsOutOfLimits(value, limits) ? 1 : 0);
        }
    }
    return flagged;
}

// Flagged where either is; either may be empty (none flagged).
std::vector<char> Either(std::vector<char> a, const std::vector<char>& b) {
    if (a.empty()) {
        return b;
    }
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        a[i] = static_cast<char>(a[i] | b[i]);
    }
    return a;
}

}  // namespace

SceneRows BuildSceneRows(const RowKeys& keys, const std::vector<double>& values,
                         const ChartDetails& details, const ChartLimits& limits, bool statistics) {
    SceneRows rows;
    rows.keys = keys.keys();
    rows.barWidth = keys.barWidth();
    if (!statistics) {
        rows.tops = values;
        rows.barFlagged = Flags(values, limits.value);
        return rows;
    }
    rows.bases = StatisticColumn(details, values, kMinimum);
    rows.tops = StatisticColumn(details, values, kMaximum);
    rows.averages = StatisticColumn(details, values, kAverage);
    rows.actuals = StatisticColumn(details, values, kActual);
    rows.barFlagged = Either(Flags(rows.bases, limits.statistics[kMinimum]),
                             Flags(rows.tops, limits.statistics[kMaximum]));
    rows.averageFlagged = Flags(rows.averages, limits.statistics[kAverage]);
    rows.actualFlagged = Flags(rows.actuals, limits.statistics[kActual]);
    return rows;
}

}  // namespace pelorin
