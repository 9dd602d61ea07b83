#pragma once

#include <string_view>

namespace pelorin {

// The ten characters that begin every telemetry line. Upper case, since lines are
// upper-cased before the search.
inline constexpr std::string_view FrameMarker = "PLRN-1.TLM";

inline constexpr int kFrameLength = 122;  // marker + 112 hexadecimal digits, in characters
inline constexpr int kFrameDigits = 112;

}  // namespace pelorin
