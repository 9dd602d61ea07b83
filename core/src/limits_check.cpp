#include <algorithm>
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

std::vector<std::int32_t> OutOfLimitsRecords(const TelemetryStore& store,
                                             const LimitTable& limits) {
    std::vector<std::int32_t> records;
    if (!HasLimits(limits)) {
        return records;
    }
    for (std::int32_t rec = 1; rec <= store.RecordCount(); ++rec) {
        if (AnyOutOfLimits(store.record(rec), limits)) {
            records.push_back(rec);
        }
    }
    return records;
}

bool HasLimits(const LimitTable& limits) {
    return std::any_of(limits.begin(), limits.end(), [](const ValueLimits& bounds) {
        return bounds.low.has_value() || bounds.high.has_value();
    });
}

}  // namespace pelorin
