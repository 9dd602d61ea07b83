#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelorin {

// A moment in UTC, in milliseconds since 1970-01-01T00:00:00Z.
using UtcMillis = std::int64_t;

// The reception time written at the start of `line`, before its frame marker: an ISO 8601 date
// and time ("2026-12-08T13:25:40Z", "2026-12-08T14:25:40+01:00", "2026-12-08 13:25:40", UTC when
// it has no zone), optionally in "[...]", fractions of a second kept to the millisecond.
// Nothing for a line without a marker, a time without a date, or an impossible date.
std::optional<UtcMillis> ReceptionTimeOfLine(std::string_view line);

// `text` as a whole read as such a date and time (brackets not allowed), or as a date alone
// (its midnight, UTC). Nothing when it is neither.
std::optional<UtcMillis> ParseUtcTime(std::string_view text);

// "2026-12-08T13:25:40.000Z": the archive's form of a time, which sorts as the times do.
std::string FormatUtcTime(UtcMillis time);

// The current time.
UtcMillis UtcNow();

}  // namespace pelorin
