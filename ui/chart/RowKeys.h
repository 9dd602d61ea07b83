#pragma once

#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "TimeAxis.h"

namespace pelorin {

// Where the chart's rows stand along its key axis: at their record numbers 1..n, or at their
// on-board times (a TimeAxis). Rows are 1-based; keys never decrease from one row to the next.
class RowKeys {
  public:
    RowKeys() = default;  // no rows
    static RowKeys ByRecordNumber(int rows);
    // `counters`: the time counter (value 0, whole seconds) of each row.
    static RowKeys ByTime(std::span<const double> counters);

    const std::vector<double>& keys() const { return keys_; }
    // The typical step between neighbouring rows: 1 by record number.
    double step() const { return step_; }
    double barWidth() const { return kBarShare * step_; }
    // The time axis when placed by time, else null.
    const std::shared_ptr<const TimeAxis>& timeAxis() const { return timeAxis_; }

    // From half a step before the first row to half a step after the last; (0.5, 1.5) without
    // rows.
    std::pair<double, double> wholeRange() const;
    std::optional<double> keyOf(int row) const;
    // The row whose key lies nearest to `x`, if no farther than `tolerance`; 0 for none.
    int rowNear(double x, double tolerance) const;
    // The first and last row whose keys lie in [lower, upper]; none when no key does.
    std::optional<std::pair<int, int>> rowsIn(double lower, double upper) const;

  private:
    std::vector<double> keys_;
    double step_ = 1.0;
    std::shared_ptr<const TimeAxis> timeAxis_;
};

}  // namespace pelorin
