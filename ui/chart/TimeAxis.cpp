#include "TimeAxis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "pelorin/elapsed_time.h"
#include "pelorin/number_text.h"

namespace pelorin {
namespace {

constexpr double kFallbackStep = 60;    // s, the frame period, when no two records differ
constexpr double kStepQuantile = 0.25;  // the steps of a pass outnumber the gaps between passes
constexpr double kBreakSteps = 5;       // a break is at least five typical steps wide,
constexpr double kBreakShare = 0.02;    // and at least this share of all counted time
constexpr double kSecondsPerDay = 86400;
constexpr std::array<double, 12> kTimeSteps = {60,   120,  300,   600,   900,   1800,
                                               3600, 7200, 10800, 21600, 43200, 86400};
constexpr std::array<double, 3> kDayMultiples = {2, 5, 10};

// The lower quartile of the positive steps between neighbouring records.
double typicalStep(std::span<const double> counters) {
    std::vector<double> steps;
    for (std::size_t i = 1; i < counters.size(); ++i) {
        if (counters[i] > counters[i - 1]) {
            steps.push_back(counters[i] - counters[i - 1]);
        }
    }
    if (steps.empty()) {
        return kFallbackStep;
    }
    const auto at = steps.begin() + static_cast<std::ptrdiff_t>(
                                        static_cast<double>(steps.size() - 1) * kStepQuantile);
    std::nth_element(steps.begin(), at, steps.end());
    return *at;
}

std::vector<TimeSegment> splitAtReboots(std::span<const double> counters) {
    std::vector<TimeSegment> segments;
    for (std::size_t i = 0; i < counters.size(); ++i) {
        if (i == 0 || counters[i] < counters[i - 1]) {
            segments.push_back({static_cast<int>(i), 0, counters[i], 0, 0});
        }
        segments.back().lastRecord = static_cast<int>(i);
        segments.back().lastCounter = counters[i];
    }
    return segments;
}

std::int32_t wholeSeconds(double counter) {
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::floor(counter), kLowest, kHighest));
}

}  // namespace

TimeAxis::TimeAxis(std::span<const double> counters) : segments_(splitAtReboots(counters)) {
    const double step = typicalStep(counters);
    step_ = step;
    barWidth_ = kBarShare * step;
    double counted = 0;
    for (const TimeSegment& segment : segments_) {
        counted += segment.lastCounter - segment.firstCounter;
    }
    breakWidth_ = std::ceil(std::max(kBreakSteps * step, kBreakShare * counted));
    for (std::size_t s = 1; s < segments_.size(); ++s) {
        segments_[s].startX = segments_[s - 1].endX() + breakWidth_;
    }
    positions_.reserve(counters.size());
    for (const TimeSegment& segment : segments_) {
        for (int r = segment.firstRecord; r <= segment.lastRecord; ++r) {
            positions_.push_back(segment.startX + (counters[r] - segment.firstCounter));
        }
    }
}

std::vector<SegmentStart> TimeAxis::segmentStarts() const {
    std::vector<SegmentStart> starts;
    for (std::size_t s = 1; s < segments_.size(); ++s) {
        starts.push_back({segments_[s].startX - breakWidth_ / 2, segments_[s].firstRecord,
                          segments_[s - 1].lastCounter, segments_[s].firstCounter});
    }
    return starts;
}

std::optional<double> TimeAxis::counterAt(double x) const {
    // Breaks are wider than a bar, so the half-bar margins of two segments never meet.
    const double margin = barWidth_ / 2;
    const auto after = std::upper_bound(
        segments_.begin(), segments_.end(), x,
        [margin](double at, const TimeSegment& segment) { return at < segment.startX - margin; });
    if (after == segments_.begin() || x > std::prev(after)->endX() + margin) {
        return std::nullopt;
    }
    const TimeSegment& segment = *std::prev(after);
    return segment.firstCounter + (x - segment.startX);
}

std::string TimeAxis::labelAt(double x) const {
    const std::optional<double> counter = counterAt(x);
    return counter ? SecToShortTime(wholeSeconds(*counter)) : std::string();
}

std::vector<double> TimeAxis::ticks(double lower, double upper, int wanted) const {
    double counted = 0;
    for (const TimeSegment& segment : segments_) {
        counted += std::max(0.0, std::min(upper, segment.endX()) - std::max(lower, segment.startX));
    }
    const double step = NiceTimeStep(counted / std::max(wanted, 1));
    std::vector<double> ticks;
    for (const TimeSegment& segment : segments_) {
        const double from = std::max(lower, segment.startX);
        const double to = std::min(upper, segment.endX());
        if (from > to) {
            continue;
        }
        const double counterOffset = segment.firstCounter - segment.startX;
        const double first = std::ceil((from + counterOffset) / step);
        const double last = std::floor((to + counterOffset) / step);
        if (first > last && from == segment.startX) {
            ticks.push_back(segment.startX);
        }
        for (double k = first; k <= last; ++k) {
            ticks.push_back(k * step - counterOffset);
        }
    }
    return ticks;
}

double NiceTimeStep(double seconds) {
    for (double step : kTimeSteps) {
        if (!(seconds > step)) {
            return step;
        }
    }
    for (double days = 1;; days *= 10) {
        for (double multiple : kDayMultiples) {
            if (multiple * days * kSecondsPerDay >= seconds) {
                return multiple * days * kSecondsPerDay;
            }
        }
    }
}

std::string SegmentStartText(const SegmentStart& start) {
    return "New segment from record " + FormatInteger(start.firstRecord + 1) +
           ": the time counter went back from " + SecToTime(wholeSeconds(start.counterBefore)) +
           " to " + SecToTime(wholeSeconds(start.counterAfter));
}

}  // namespace pelorin
