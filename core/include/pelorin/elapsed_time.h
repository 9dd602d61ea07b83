#pragma once

#include <cstdint>
#include <string>

namespace pelorin {

// Seconds as days and clock time, "1d 02:03:04"; negative counts give a negative day count and
// a non-negative time of day ("-1d 23:59:59" for -1). Defined for every 32-bit value.
std::string SecToTime(std::int32_t ValSec);

// The same without the seconds, "1d 02:03" for chart labels; floored like SecToTime, so -1
// gives "-1d 23:59". Defined for every 32-bit value.
std::string SecToShortTime(std::int32_t ValSec);

}  // namespace pelorin
