#pragma once

#include <array>
#include <string>
#include <string_view>

#include "pelorin/telemetry_table.h"

namespace pelorin {

// The text of value box `index` (0..34) for `record`: the system time with its elapsed-time
// text, "0.000" for the measured values, the solar-array status, whole numbers for the rest.
// `decimalSeparator` is the user's regional one.
std::string ValueBoxText(const TelemetryRecord& record, int index,
                         std::string_view decimalSeparator);
// The same for one value of index `index`.
std::string ValueBoxText(double value, int index, std::string_view decimalSeparator);

// The four solar-array flags in the order X+, Y+, X-, Y-, true for on.
using SolarArrayFlags = std::array<bool, 4>;

// The flags of a status value (0..255, rounded half to even to a byte): bits 4, 3, 2 and 1.
SolarArrayFlags SolarArrayFlagsOf(double statusValue);

// Bits 4..0 of the status byte and the four panel flags: "10110  (X+ on, Y+ off, X- on, Y- on)".
// The first four characters are the flags of +X, +Y, -X and -Y.
std::string SolarArrayStatusText(double statusValue);

}  // namespace pelorin
