#include "ValueTicker.h"

#include <cmath>

#include "ChartNumberText.h"
#include "ValueRange.h"

namespace pelorin {

namespace {

// A tick this close to zero, relative to the step, is zero that picked up rounding noise.
constexpr double kZeroTickFraction = 1e-6;

}  // namespace

double ValueTicker::getTickStep(const QCPRange& range) {
    lastStep_ = NiceTickStep(range.lower, range.upper, tickCount(), wholeNumbers_);
    return lastStep_;
}

QString ValueTicker::getTickLabel(double tick, const QLocale& /*locale*/, QChar /*formatChar*/,
                                  int /*precision*/) {
    if (std::fabs(tick) < std::fabs(lastStep_) * kZeroTickFraction) {
        tick = 0.0;
    }
    return ChartNumberText(tick);
}

}  // namespace pelorin
