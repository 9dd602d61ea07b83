#include "pelorin/reception_time.h"

#include <chrono>

#include "pelorin/frame_marker.h"

namespace pelorin {
namespace {

constexpr std::int64_t kMillisPerSecond = 1000;
constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr int kLastHour = 23;
constexpr int kLastMinute = 59;
constexpr int kLastSecond = 59;
constexpr int kMaxZoneHours = 14;

// Reads the next `digits` characters of `text` as a number, moving past them.
std::optional<int> number(std::string_view& text, std::size_t digits) {
    if (text.size() < digits) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t k = 0; k < digits; ++k) {
        if (text[k] < '0' || text[k] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[k] - '0');
    }
    text.remove_prefix(digits);
    return value;
}

bool take(std::string_view& text, char c) {
    if (!text.empty() && text.front() == c) {
        text.remove_prefix(1);
        return true;
    }
    return false;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(int year, int month, int day) {
    using namespace std::chrono;
    return sys_days{std::chrono::year{year} / month / day}.time_since_epoch().count();
}

// "YYYY-MM-DD" at the start of `text`, as days since 1970, moving past it.
std::optional<std::int64_t> date(std::string_view& text) {
    const auto year = number(text, 4);
    if (!year || !take(text, '-')) {
        return std::nullopt;
    }
    const auto month = number(text, 2);
    if (!month || *month < 1 || *month > 12 || !take(text, '-')) {
        return std::nullopt;
    }
    const auto day = number(text, 2);
    if (!day || *day < 1 || *day > daysInMonth(*year, *month)) {
        return std::nullopt;
    }
    return daysFromCivil(*year, *month, *day);
}

// "HH:MM:SS" with an optional fraction, as milliseconds into the day, moving past it.
std::optional<std::int64_t> timeOfDay(std::string_view& text) {
    const auto hour = number(text, 2);
    if (!hour || *hour > kLastHour || !take(text, ':')) {
        return std::nullopt;
    }
    const auto minute = number(text, 2);
    if (!minute || *minute > kLastMinute || !take(text, ':')) {
        return std::nullopt;
    }
    const auto second = number(text, 2);
    if (!second || *second > kLastSecond) {
        return std::nullopt;
    }
    std::int64_t millis =
        (*hour * kSecondsPerHour + *minute * kSecondsPerMinute + *second) * kMillisPerSecond;
    if (text.size() >= 2 && (text[0] == '.' || text[0] == ',') && text[1] >= '0' &&
        text[1] <= '9') {
        text.remove_prefix(1);
        std::int64_t scale = kMillisPerSecond / 10;
        while (!text.empty() && text[0] >= '0' && text[0] <= '9') {
            millis += (text[0] - '0') * scale;  // digits past the millisecond are cut
            scale /= 10;
            text.remove_prefix(1);
        }
    }
    return millis;
}

// "Z", "+01:00", "-0530", or nothing (UTC): the zone's offset in milliseconds, moving past it.
std::optional<std::int64_t> zoneOffset(std::string_view& text) {
    if (take(text, 'Z') || take(text, 'z')) {
        return 0;
    }
    if (text.empty() || (text[0] != '+' && text[0] != '-')) {
        return 0;
    }
    const int sign = text[0] == '-' ? -1 : 1;
    std::string_view rest = text.substr(1);
    const auto hours = number(rest, 2);
    if (!hours || *hours > kMaxZoneHours) {
        return std::nullopt;
    }
    take(rest, ':');
    const auto minutes = number(rest, 2);
    if (!minutes || *minutes > kLastMinute) {
        return std::nullopt;
    }
    text = rest;
    return sign * (*hours * kSecondsPerHour + *minutes * kSecondsPerMinute) * kMillisPerSecond;
}

// A date and time at the start of `text`, moving past it.
std::optional<UtcMillis> dateTime(std::string_view& text) {
    const auto day = date(text);
    if (!day || !(take(text, 'T') || take(text, 't') || take(text, ' '))) {
        return std::nullopt;
    }
    const auto millis = timeOfDay(text);
    if (!millis) {
        return std::nullopt;
    }
    const auto offset = zoneOffset(text);
    if (!offset) {
        return std::nullopt;
    }
    return *day * kSecondsPerDay * kMillisPerSecond + *millis - *offset;
}

}  // namespace

std::optional<UtcMillis> ReceptionTimeOfLine(std::string_view line) {
    const std::size_t marker = FindFrameMarker(line);
    if (marker == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view text = line.substr(0, marker);
    while (take(text, ' ') || take(text, '\t')) {
    }
    const bool bracketed = take(text, '[');
    const auto time = dateTime(text);
    if (!time || (bracketed && !take(text, ']'))) {
        return std::nullopt;
    }
    // "2026-12-08 13:25:401" is no time; what follows a time starts with something else.
    if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
        return std::nullopt;
    }
    return time;
}

std::optional<UtcMillis> ParseUtcTime(std::string_view text) {
    std::string_view rest = text;
    if (const auto time = dateTime(rest); time && rest.empty()) {
        return time;
    }
    rest = text;
    if (const auto day = date(rest); day && rest.empty()) {
        return *day * kSecondsPerDay * kMillisPerSecond;
    }
    return std::nullopt;
}

std::string FormatUtcTime(UtcMillis time) {
    using namespace std::chrono;
    const sys_time<milliseconds> moment{milliseconds{time}};
    const sys_days day = floor<days>(moment);
    const year_month_day ymd{day};
    const hh_mm_ss<milliseconds> clock{moment - day};
    char text[32];
    auto put = [&text](std::size_t at, std::int64_t value, int width) {
        for (int k = width - 1; k >= 0; --k) {
            text[at + static_cast<std::size_t>(k)] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
    };
    put(0, static_cast<int>(ymd.year()), 4);
    text[4] = '-';
    put(5, static_cast<unsigned>(ymd.month()), 2);
    text[7] = '-';
    put(8, static_cast<unsigned>(ymd.day()), 2);
    text[10] = 'T';
    put(11, clock.hours().count(), 2);
    text[13] = ':';
    put(14, clock.minutes().count(), 2);
    text[16] = ':';
    put(17, clock.seconds().count(), 2);
    text[19] = '.';
    put(20, clock.subseconds().count(), 3);
    text[23] = 'Z';
    return std::string(text, 24);
}

UtcMillis UtcNow() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace pelorin
