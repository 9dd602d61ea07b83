#pragma once

#include <span>

namespace pelorin {

// The shown stretch of the chart's value axis.
struct ValueRange {
    double lower = 0;
    double upper = 1;

    bool operator==(const ValueRange&) const = default;
};

enum class ValueScale {
    FitToValues,  // the values with a small margin; zero only when they come close to it
    StartAtZero,  // the values and zero, so bars are measured from zero
};

// The value axis range for `values` (NaN and infinities skipped), lower < upper always; no
// finite value gives 0..1. `wholeNumbers` widens the range outward to whole numbers. With
// FitToValues zero joins the range when the gap between zero and the values is at most half
// their spread, so that showing zero at most lengthens the axis by half.
ValueRange FitValueRange(std::span<const double> values, ValueScale scale, bool wholeNumbers);

// A step of 1, 2, 2.5 or 5 times a power of ten, the smallest that parts [lower, upper] into at
// most `wantedSteps` steps. With `wholeNumbers` the step is a whole number of at least 1 (no
// 2.5). An empty or non-finite range gives 1.
double NiceTickStep(double lower, double upper, int wantedSteps, bool wholeNumbers);

}  // namespace pelorin
