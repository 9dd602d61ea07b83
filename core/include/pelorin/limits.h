#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pelorin/telemetry_table.h"

// The user's normal ranges of the values 0..34, read from limits.ini, and the decision whether
// a value lies outside them.
namespace pelorin {

// Normal range of one value; a bound that is not set does not limit.
struct ValueLimits {
    std::optional<double> low;
    std::optional<double> high;

    bool operator==(const ValueLimits&) const = default;
};

// Limits of the values 0..34, indexed by value index.
using LimitTable = std::array<ValueLimits, kShownValues>;

// One bad line of a limits file; line 0 stands for the file as a whole.
struct LimitsWarning {
    int line = 0;
    std::string what;
};

struct LimitsLoad {
    LimitTable limits{};
    std::vector<LimitsWarning> warnings;  // in line order; their entries were ignored
    bool missing = false;                 // no file there: no limits and no warning
};

// Reads the text of a limits file: groups [value0]..[value34] with optional keys low and high,
// plain numbers with "." as separator; ";" and "#" lines are comments; CR LF, LF or CR line
// ends. Bad entries are reported in `warnings` and ignored; the good ones apply.
LimitsLoad ParseLimits(std::string_view text);

// Reads and parses the file at `path`. A missing file sets `missing`; one that is no regular
// file, cannot be read or is larger than 64 KiB gives a line-0 warning and no limits.
LimitsLoad LoadLimitsFile(const std::filesystem::path& path);

// "FILE:LINE: what", or "FILE: what" for line 0.
std::string FormatLimitsWarning(std::string_view file, const LimitsWarning& warning);

// True when `value` is below `low` or above `high`; equal to a bound is inside. NaN is out of
// limits as soon as one bound is set, since it cannot be shown to be inside.
bool IsOutOfLimits(double value, const ValueLimits& limits);

// Value indices 0..34 of `record` that are out of limits, ascending; empty when none is.
std::vector<int> OutOfLimitsValues(const TelemetryRecord& record, const LimitTable& limits);
bool AnyOutOfLimits(const TelemetryRecord& record, const LimitTable& limits);
// Record numbers (1..RecordCount) of `store` with any value out of limits, ascending.
std::vector<std::int32_t> OutOfLimitsRecords(const TelemetryStore& store, const LimitTable& limits);
// Whether any bound is set at all.
bool HasLimits(const LimitTable& limits);

// $XDG_CONFIG_HOME/pelorin/limits.ini, or $HOME/.config/pelorin/limits.ini when
// XDG_CONFIG_HOME is empty or not absolute (unset counts as empty); an empty path when neither
// gives an absolute folder.
std::filesystem::path LimitsFilePath(std::string_view xdgConfigHome, std::string_view home);
// The same from this process's environment.
std::filesystem::path LimitsFilePathFromEnvironment();

}  // namespace pelorin
