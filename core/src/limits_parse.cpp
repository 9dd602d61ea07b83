#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>

#include "pelorin/limits.h"
#include "pelorin/line_ends.h"
#include "pelorin/number_text.h"
#include "pelorin/unicode_chars.h"
#include "pelorin/value_info.h"

// The INI dialect that QSettings writes and reads, restricted to what a limits file holds.
namespace pelorin {
namespace {

constexpr std::string_view kGroupPrefix = "value";
constexpr std::string_view kLowKey = "low";
constexpr std::string_view kHighKey = "high";
constexpr int kNoGroup = -1;   // before the first group line
constexpr int kBadGroup = -2;  // after a group line that was reported

struct Bound {
    std::optional<double> value;
    int line = 0;
};

struct PendingLimits {
    Bound low;
    Bound high;
};

std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The next line of `text` from `pos` on, without its CR LF, LF or CR; moves `pos` past it.
std::string_view nextLine(std::string_view text, std::size_t& pos) {
    const std::size_t end = std::min(text.find_first_of(kLineEndChars, pos), text.size());
    const std::string_view line = text.substr(pos, end - pos);
    pos = end < text.size() ? SkipLineEnd(text, end) : end;
    return line;
}

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "value0".."value34" or a value's CSV column name gives its index; anything else (a sign,
// leading zeros) kBadGroup, so that every index this returns lies inside the table.
int groupIndex(std::string_view name) {
    for (int index = 0; index < kShownValues; ++index) {
        if (InfoOf(index).column == name) {
            return index;
        }
    }
    if (!name.starts_with(kGroupPrefix)) {
        return kBadGroup;
    }
    const std::string_view digits = name.substr(kGroupPrefix.size());
    if (digits.empty() || !allDigits(digits) || (digits.size() > 1 && digits[0] == '0')) {
        return kBadGroup;
    }
    int index = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (ec != std::errc() || end != digits.data() + digits.size() || index < 0 ||
        index >= kShownValues) {
        return kBadGroup;
    }
    return index;
}

// The value text as QSettings reads it: up to an unquoted ";", without blanks or quotes.
std::string_view valueText(std::string_view raw) {
    bool quoted = false;
    std::size_t end = 0;
    while (end < raw.size() && (quoted || raw[end] != ';')) {
        quoted ^= raw[end] == '"';
        ++end;
    }
    std::string_view text = trimBlanks(raw.substr(0, end));
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

std::optional<double> plainNumber(std::string_view text) {
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

class LimitsParser {
  public:
    LimitsLoad finish() {
        for (int index = 0; index < kShownValues; ++index) {
            takeLimits(index);
        }
        std::stable_sort(load_.warnings.begin(), load_.warnings.end(),
                         [](const auto& a, const auto& b) { return a.line < b.line; });
        return std::move(load_);
    }

    void readLine(std::string_view rawLine, int line) {
        const std::string_view text = trimBlanks(rawLine);
        if (text.empty() || text.starts_with(';') || text.starts_with('#')) {
            return;
        }
        if (text.starts_with('[')) {
            readGroup(text, line);
            return;
        }
        const auto equals = text.find('=');
        const std::string_view key = trimBlanks(text.substr(0, equals));
        if (equals == std::string_view::npos || key.empty()) {
            warn(line, {"neither a [group] line, a key=value line nor a comment"});
            return;
        }
        readKey(key, valueText(text.substr(equals + 1)), line);
    }

  private:
    void warn(int line, std::initializer_list<std::string_view> parts) {
        std::string what;
        for (std::string_view part : parts) {
            what.append(part);
        }
        load_.warnings.push_back({line, std::move(what)});
    }

    // "[name]", optionally followed by a ";" comment as QSettings allows.
    void readGroup(std::string_view text, int line) {
        const auto close = text.find(']');
        group_ = kBadGroup;
        if (close != std::string_view::npos) {
            const std::string_view rest = trimBlanks(text.substr(close + 1));
            if (rest.empty() || rest.starts_with(';')) {
                group_ = groupIndex(trimBlanks(text.substr(1, close - 1)));
            }
        }
        if (group_ == kBadGroup) {
            warn(line,
                 {"unknown group ", text,
                  ", its keys are ignored (groups are [value0] to [value34] or the column names)"});
        }
    }

    void readKey(std::string_view key, std::string_view value, int line) {
        if (group_ == kBadGroup) {
            return;
        }
        if (group_ == kNoGroup) {
            warn(line, {"key ", key, " stands before the first [valueN] group"});
            return;
        }
        if (key != kLowKey && key != kHighKey) {
            warn(line, {"unknown key ", key, " (keys are low and high)"});
            return;
        }
        const std::optional<double> number = plainNumber(value);
        if (!number) {
            warn(line,
                 {"\"", value, "\" is not a number (write plain numbers with \".\" as separator)"});
            return;
        }
        Bound& bound = key == kLowKey ? pending_[group_].low : pending_[group_].high;
        if (bound.line > 0) {
            warn(line, {"key ", key, " repeats the one on line ", FormatInteger(bound.line),
                        ", this later one applies"});
        }
        bound = {number, line};
    }

    void takeLimits(int index) {
        const PendingLimits& p = pending_[index];
        if (p.low.value && p.high.value && *p.low.value > *p.high.value) {
            warn(std::max(p.low.line, p.high.line),
                 {"low ", FormatShortest(*p.low.value), " is above high ",
                  FormatShortest(*p.high.value), " in [value", FormatInteger(index),
                  "], both are ignored"});
            return;
        }
        load_.limits[index] = {p.low.value, p.high.value};
    }

    LimitsLoad load_;
    std::array<PendingLimits, kShownValues> pending_{};
    int group_ = kNoGroup;
};

}  // namespace

LimitsLoad ParseLimits(std::string_view text) {
    text = WithoutByteOrderMark(text);
    LimitsParser parser;
    std::size_t pos = 0;
    for (int line = 1; pos < text.size(); ++line) {
        parser.readLine(nextLine(text, pos), line);
    }
    return parser.finish();
}

std::string FormatLimitsWarning(std::string_view file, const LimitsWarning& warning) {
    std::string text(file);
    if (warning.line > 0) {
        text.append(":").append(FormatInteger(warning.line));
    }
    return text.append(": ").append(warning.what);
}

}  // namespace pelorin
