#pragma once

#include <optional>

namespace pelorin::history {

// A stretch of the time axis, in seconds.
struct TimeSpan {
    double from = 0.0;
    double to = 0.0;

    double width() const { return to - from; }
};

// The range buttons' choices.
enum class RangePreset { LastPass, Day, Week, Month, All };

// The narrowest view: one second, well below a frame's interval.
inline constexpr double kNarrowestView = 1.0;

// `view` zoomed by `factor` (below 1 zooms in) about time `anchor`, which keeps its place on
// screen; no narrower than kNarrowestView and no wider than `all`, and kept inside `all`.
TimeSpan Zoomed(TimeSpan view, double anchor, double factor, TimeSpan all);

// `view` moved by `fraction` of its width (negative: back in time), stopping at the ends of
// `all`.
TimeSpan Panned(TimeSpan view, double fraction, TimeSpan all);

// The view a range button shows: the last pass, or the day, week or month up to the newest
// data, or everything; the last pass is everything when there is none.
TimeSpan PresetView(RangePreset preset, TimeSpan all, std::optional<TimeSpan> lastPass);

// The view a rectangle dragged from time `a` to time `b` zooms to: from the earlier to the later,
// within `all`, and no narrower than kNarrowestView about its middle.
TimeSpan DraggedSpan(double a, double b, TimeSpan all);

// Whether `view` shows the newest data, so that live arrival keeps it in view.
bool ShowsNewest(TimeSpan view, TimeSpan all);

// `view` moved so that its end follows `all`'s new end, keeping its width.
TimeSpan FollowNewest(TimeSpan view, TimeSpan all);

}  // namespace pelorin::history
