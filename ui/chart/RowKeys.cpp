#include "RowKeys.h"

#include <algorithm>
#include <cmath>

namespace pelorin {

RowKeys RowKeys::ByRecordNumber(int rows) {
    RowKeys placed;
    placed.keys_.resize(static_cast<std::size_t>(std::max(rows, 0)));
    for (std::size_t i = 0; i < placed.keys_.size(); ++i) {
        placed.keys_[i] = static_cast<double>(i + 1);
    }
    return placed;
}

RowKeys RowKeys::ByTime(std::span<const double> counters) {
    RowKeys placed;
    auto axis = std::make_shared<const TimeAxis>(counters);
    placed.keys_ = axis->positions();
    placed.step_ = axis->step();
    placed.timeAxis_ = std::move(axis);
    return placed;
}

std::pair<double, double> RowKeys::wholeRange() const {
    if (keys_.empty()) {
        return {0.5, 1.5};
    }
    return {keys_.front() - step_ / 2, keys_.back() + step_ / 2};
}

std::optional<double> RowKeys::keyOf(int row) const {
    if (row < 1 || row > static_cast<int>(keys_.size())) {
        return std::nullopt;
    }
    return keys_[static_cast<std::size_t>(row) - 1];
}

int RowKeys::rowNear(double x, double tolerance) const {
    if (keys_.empty() || !std::isfinite(x)) {
        return 0;
    }
    auto at = std::lower_bound(keys_.begin(), keys_.end(), x);
    // The nearer of the first key at or after x and the last one before it; of equal keys the
    // first row.
    if (at == keys_.end() || (at != keys_.begin() && x - *std::prev(at) <= *at - x)) {
        at = std::lower_bound(keys_.begin(), keys_.end(), *std::prev(at));
    }
    if (std::fabs(*at - x) > tolerance) {
        return 0;
    }
    return static_cast<int>(at - keys_.begin()) + 1;
}

std::optional<std::pair<int, int>> RowKeys::rowsIn(double lower, double upper) const {
    const auto first = std::lower_bound(keys_.begin(), keys_.end(), lower);
    const auto end = std::upper_bound(keys_.begin(), keys_.end(), upper);
    if (first >= end) {
        return std::nullopt;
    }
    return std::pair{static_cast<int>(first - keys_.begin()) + 1,
                     static_cast<int>(end - keys_.begin())};
}

}  // namespace pelorin
