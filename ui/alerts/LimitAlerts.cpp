#include "LimitAlerts.h"

#include <cmath>

#include "pelorin/number_text.h"
#include "pelorin/value_info.h"

namespace pelorin {
namespace {

constexpr int kTimeCounterValue = 0;
constexpr double kDecimalsScale = 1000.0;

}  // namespace

void LimitAlerts::reset() {
    alerted_.fill(false);
    lastTime_.reset();
}

std::vector<LimitAlert> LimitAlerts::check(const TelemetryRecord& record,
                                           const LimitTable& limits) {
    const double time = record[kTimeCounterValue];
    if (lastTime_ && !(time >= *lastTime_ && time - *lastTime_ <= kPassGap)) {
        alerted_.fill(false);  // a new pass
    }
    lastTime_ = time;
    std::vector<LimitAlert> alerts;
    for (const int index : OutOfLimitsValues(record, limits)) {
        if (alerted_[static_cast<std::size_t>(index)]) {
            continue;
        }
        alerted_[static_cast<std::size_t>(index)] = true;
        const ValueLimits& bounds = limits[static_cast<std::size_t>(index)];
        const double value = record[static_cast<std::size_t>(index)];
        const bool above = bounds.high && !(value <= *bounds.high);
        const double bound = above ? *bounds.high : bounds.low.value_or(value);
        alerts.push_back({index, value, std::fabs(value - bound), above, time});
    }
    return alerts;
}

std::string LimitAlerts::Text(const LimitAlert& alert, const LimitTable& limits,
                              std::string_view decimalSeparator) {
    const ValueLimits& bounds = limits[static_cast<std::size_t>(alert.index)];
    const double bound = alert.aboveHigh ? bounds.high.value_or(0) : bounds.low.value_or(0);
    // The values carry three decimals at most; the difference of two of them no more.
    const double excess = std::round(alert.excess * kDecimalsScale) / kDecimalsScale;
    const auto number = [decimalSeparator](double v) { return FormatGeneral(v, decimalSeparator); };
    std::string text(kValueInfo[static_cast<std::size_t>(alert.index)].column);
    text += ' ' + number(alert.value) + " is " + number(excess) +
            (alert.aboveHigh ? " above its high limit " : " below its low limit ") + number(bound) +
            " at time counter " + number(alert.timeCounter);
    return text;
}

}  // namespace pelorin
