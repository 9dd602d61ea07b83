#include "ValueRange.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace pelorin {
namespace {

constexpr double kMargin = 0.05;    // of the spread, beyond the values; of the value when flat
constexpr double kZeroReach = 0.5;  // zero joins the fit when at most this share of the spread away
constexpr ValueRange kNoValues{0, 1};
constexpr std::array<double, 5> kStepMultiples = {1, 2, 2.5, 5, 10};
constexpr double kStepTolerance = 1e-9;  // a step this close below the raw step still fits

// lo..hi with the margin on each side that is not zero, so bars keep standing on zero.
ValueRange withMargin(double lo, double hi) {
    const double spread = hi - lo;
    if (!std::isfinite(spread)) {
        return {lo, hi};
    }
    if (spread == 0 && lo == 0) {
        return kNoValues;
    }
    const double margin = spread == 0 ? std::fabs(lo) * kMargin : spread * kMargin;
    return {lo == 0 ? lo : lo - margin, hi == 0 ? hi : hi + margin};
}

}  // namespace

ValueRange FitValueRange(std::span<const double> values, ValueScale scale, bool wholeNumbers) {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (double value : values) {
        if (std::isfinite(value)) {
            lo = std::min(lo, value);
            hi = std::max(hi, value);
        }
    }
    if (lo > hi) {
        return kNoValues;
    }
    const double zeroReach = scale == ValueScale::StartAtZero
                                 ? std::numeric_limits<double>::infinity()
                                 : kZeroReach * (hi - lo);
    if (lo > 0 && lo <= zeroReach) {
        lo = 0;
    }
    if (hi < 0 && -hi <= zeroReach) {
        hi = 0;
    }
    ValueRange range = withMargin(lo, hi);
    if (wholeNumbers) {
        range = {std::floor(range.lower), std::ceil(range.upper)};
    }
    return range;
}

double NiceTickStep(double lower, double upper, int wantedSteps, bool wholeNumbers) {
    const double span = upper - lower;
    if (!(span > 0) || !std::isfinite(span)) {
        return 1;
    }
    const double raw = span / std::max(wantedSteps, 1);
    if (wholeNumbers && raw <= 1) {
        return 1;
    }
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = kStepMultiples.back() * magnitude;
    for (double multiple : kStepMultiples) {
        const double candidate = multiple * magnitude;
        const bool whole = candidate == std::floor(candidate);
        if (candidate >= raw * (1 - kStepTolerance) && (whole || !wholeNumbers)) {
            step = candidate;
            break;
        }
    }
    return step;
}

}  // namespace pelorin
