#include "pelorin/elapsed_time.h"

#include <cmath>

#include "pelorin/number_text.h"

namespace pelorin {
namespace {

constexpr double kSecondsPerDay = 86400;
constexpr double kSecondsPerHour = 3600;
constexpr double kSecondsPerMinute = 60;

void appendTwoDigits(std::string& out, int v) {
    out.push_back(static_cast<char>('0' + v / 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

struct DayClock {
    double days;
    int hours;
    int minutes;
    int seconds;
};

DayClock splitSeconds(std::int32_t ValSec) {
    // Floor divisions in double, so a negative count gives a negative day count and a
    // non-negative time of day.
    const double seconds = ValSec;
    const double days = std::floor(seconds / kSecondsPerDay);
    const double rest = seconds - kSecondsPerDay * days;
    const double hours = std::floor(rest / kSecondsPerHour);
    const double minutes = std::floor((rest - kSecondsPerHour * hours) / kSecondsPerMinute);
    const double secs = rest - kSecondsPerHour * hours - kSecondsPerMinute * minutes;
    return {days, static_cast<int>(hours), static_cast<int>(minutes), static_cast<int>(secs)};
}

// "Dd HH:MM", the part both texts share.
std::string dayHoursMinutes(const DayClock& clock) {
    std::string out = FormatInteger(static_cast<std::int64_t>(clock.days));
    out.append("d ");
    appendTwoDigits(out, clock.hours);
    out.push_back(':');
    appendTwoDigits(out, clock.minutes);
    return out;
}

}  // namespace

std::string SecToTime(std::int32_t ValSec) {
    const DayClock clock = splitSeconds(ValSec);
    std::string out = dayHoursMinutes(clock);
    out.push_back(':');
    appendTwoDigits(out, clock.seconds);
    return out;
}

std::string SecToShortTime(std::int32_t ValSec) {
    return dayHoursMinutes(splitSeconds(ValSec));
}

}  // namespace pelorin
