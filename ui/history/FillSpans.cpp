#include "history/FillSpans.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pelorin::history {
namespace {

constexpr int kNone = std::numeric_limits<int>::min();

constexpr double kPixelCentre = 0.5;

// The column of pixel coordinate `x` (column p covers [p, p + 1)), held inside int's range.
int PixelOf(double x) {
    constexpr double kFar = 1e9;
    return static_cast<int>(std::floor(std::clamp(x, -kFar, kFar)));
}

void Widen(FillSpan& span, double a, double b) {
    span.top = std::min({span.top, a, b});
    span.bottom = std::max({span.bottom, a, b});
}

}  // namespace

void FillSpans(std::span<const double> x, std::span<const double> lower,
               std::span<const double> upper, int firstPixel, int lastPixel,
               std::vector<FillSpan>& out) {
    out.clear();
    const std::size_t n = std::min({x.size(), lower.size(), upper.size()});
    const auto keep = [&out, firstPixel, lastPixel](int pixel, double a, double b) {
        if (pixel >= firstPixel && pixel <= lastPixel) {
            out.push_back({pixel, std::min(a, b), std::max(a, b)});
        }
    };
    int last = kNone;  // the column of the run's latest point
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isnan(x[i]) || std::isnan(lower[i]) || std::isnan(upper[i])) {
            last = kNone;
            continue;
        }
        const int pixel = PixelOf(x[i]);
        if (last == kNone) {
            keep(pixel, lower[i], upper[i]);
        } else if (pixel <= last) {
            if (!out.empty() && out.back().pixel == last) {
                Widen(out.back(), lower[i], upper[i]);
            }
            continue;
        } else {
            // x[i - 1] lies in a column at or before `last`: the segment has a width.
            const double width = x[i] - x[i - 1];
            for (int p = std::max(last + 1, firstPixel); p <= std::min(pixel, lastPixel); ++p) {
                const double t = std::clamp((p + kPixelCentre - x[i - 1]) / width, 0.0, 1.0);
                keep(p, lower[i - 1] + t * (lower[i] - lower[i - 1]),
                     upper[i - 1] + t * (upper[i] - upper[i - 1]));
            }
        }
        last = pixel;
    }
}

}  // namespace pelorin::history
