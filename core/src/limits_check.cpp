#include <cmath>

#include "pelorin/limits.h"

namespace pelorin {

bool IsOutOfLimits(double value, const ValueLimits& limits) {
    if (std::isnan(value)) {
        return limits.low.has_value() || limits.high.has_value();
    }
    return (limits.low && value < *limits.low) || (limits.high && value > *limits.high);
}

std::vector<int> OutOfLimitsValues(const TelemetryRecord& record, const LimitTable& limits) {
    std::vector<int> indices;
    for (int index = 0; index < kShownValues; ++index) {
        if (IsOutOfLimits(record[index], limits[index])) {
            indices.push_back(index);
        }
    }
    return indices;
}

bool AnyOutOfLimits(const TelemetryRecord& record, const LimitTable& limits) {
    for (int index = 0; index < kShownValues; ++index) {
        if (IsOutOfLimits(record[index], limits[index])) {
            return true;
        }
    }
    return false;
}

}  // namespace pelorin
