#include "history/HistoryRange.h"

#include <algorithm>

namespace pelorin::history {
namespace {

constexpr double kSecondsPerDay = 24.0 * 3600.0;
constexpr double kDaysPerWeek = 7.0;
constexpr double kDaysPerMonth = 30.0;

// `view` shifted to lie inside `all` where its width allows, else `all` itself.
TimeSpan KeptInside(TimeSpan view, TimeSpan all) {
    if (view.width() >= all.width()) {
        return all;
    }
    const double shift = view.from < all.from ? all.from - view.from
                         : view.to > all.to   ? all.to - view.to
                                              : 0.0;
    return {view.from + shift, view.to + shift};
}

}  // namespace

TimeSpan Zoomed(TimeSpan view, double anchor, double factor, TimeSpan all) {
    const double width =
        std::clamp(view.width() * factor, kNarrowestView, std::max(all.width(), kNarrowestView));
    const double share = view.width() > 0.0 ? (anchor - view.from) / view.width() : 0.5;
    const double from = anchor - share * width;
    return KeptInside({from, from + width}, all);
}

TimeSpan Panned(TimeSpan view, double fraction, TimeSpan all) {
    const double shift = fraction * view.width();
    return KeptInside({view.from + shift, view.to + shift}, all);
}

TimeSpan PresetView(RangePreset preset, TimeSpan all, std::optional<TimeSpan> lastPass) {
    const auto upToEnd = [&all](double days) {
        return TimeSpan{std::max(all.from, all.to - days * kSecondsPerDay), all.to};
    };
    switch (preset) {
        case RangePreset::LastPass:
            return lastPass.value_or(all);
        case RangePreset::Day:
            return upToEnd(1.0);
        case RangePreset::Week:
            return upToEnd(kDaysPerWeek);
        case RangePreset::Month:
            return upToEnd(kDaysPerMonth);
        case RangePreset::All:
            break;
    }
    return all;
}

TimeSpan DraggedSpan(double a, double b, TimeSpan all) {
    const double from = std::max(std::min(a, b), all.from);
    const double to = std::min(std::max(a, b), all.to);
    if (to - from >= kNarrowestView) {
        return {from, to};
    }
    const double middle = (from + to) / 2;
    return KeptInside({middle - kNarrowestView / 2, middle + kNarrowestView / 2}, all);
}

bool ShowsNewest(TimeSpan view, TimeSpan all) {
    return view.to >= all.to;
}

TimeSpan FollowNewest(TimeSpan view, TimeSpan all) {
    return {all.to - view.width(), all.to};
}

}  // namespace pelorin::history
