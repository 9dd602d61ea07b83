#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pelorin {

// The share of the step between neighbouring records that a bar takes, along the record
// numbers (a step of one) and along on-board time alike.
inline constexpr double kBarShare = 0.7;

// A run of records whose time counter never goes backwards. Inside it x follows the counter,
// x = startX + (counter - firstCounter), so gaps between passes stay empty stretches.
struct TimeSegment {
    int firstRecord = 0;  // position of its first record in the counters given
    int lastRecord = 0;
    double firstCounter = 0;
    double lastCounter = 0;
    double startX = 0;

    double endX() const { return startX + (lastCounter - firstCounter); }
};

// Where the counter went backwards (a reboot): the marker line sits in the middle of the break
// before the new segment.
struct SegmentStart {
    double x = 0;
    int firstRecord = 0;  // position of the new segment's first record
    double counterBefore = 0;
    double counterAfter = 0;
};

// The on-board time axis of the chart: places each record at its time counter (value 0, whole
// seconds), one segment after another with a break between them; maps x back to a label.
// All x are whole seconds, so tick labels come out exact.
class TimeAxis {
  public:
    // `counters`: value 0 of the records in record order, finite whole seconds.
    explicit TimeAxis(std::span<const double> counters);

    // x of each record, in record order and non-decreasing; the first record stands at 0.
    const std::vector<double>& positions() const { return positions_; }
    const std::vector<TimeSegment>& segments() const { return segments_; }
    // One for each segment after the first.
    std::vector<SegmentStart> segmentStarts() const;
    // Seconds of x between the last record of a segment and the first of the next.
    double breakWidth() const { return breakWidth_; }
    // The typical step between records in x (seconds), one minute without one.
    double step() const { return step_; }
    // Bar width in x: kBarShare of the typical step.
    double barWidth() const { return barWidth_; }

    // The counter at `x`: inside a segment or within half a bar of its ends; none in a break.
    std::optional<double> counterAt(double x) const;
    // Tick label at `x`, "40d 13:03"; empty in a break.
    std::string labelAt(double x) const;
    // x of the ticks in [lower, upper], about `wanted` of them, at whole multiples of a nice
    // elapsed-time step and inside segments; a segment in view without one gets its start.
    std::vector<double> ticks(double lower, double upper, int wanted) const;

  private:
    std::vector<double> positions_;
    std::vector<TimeSegment> segments_;
    double breakWidth_ = 0;
    double step_ = 0;
    double barWidth_ = 0;
};

// The smallest of 1, 2, 5, 10, 15, 30 min, 1, 2, 3, 6, 12 h, 1, 2, 5, 10, 20, 50... days that is
// at least `seconds`.
double NiceTimeStep(double seconds);

// Tool tip of a segment marker: where the counter went back from and to, and the record
// number there (records numbered from 1 in the order given).
std::string SegmentStartText(const SegmentStart& start);

}  // namespace pelorin
