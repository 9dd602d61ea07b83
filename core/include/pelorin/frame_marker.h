#pragma once

#include <cstddef>
#include <string_view>

namespace pelorin {

// The ten characters that begin every telemetry line. Upper case, since lines are
// upper-cased before the search.
inline constexpr std::string_view FrameMarker = "PLRN-1.TLM";

inline constexpr int kFrameLength = 122;  // marker + 112 hexadecimal digits, in characters
inline constexpr int kFrameDigits = 112;

// Offset in code units (bytes of UTF-8, units of UTF-16) of the first FrameMarker in `text`,
// letters compared after ASCII upper-casing; npos when there is none. The units of a multi-unit
// character are never ASCII, so the offset is that of a whole character.
std::size_t FindFrameMarker(std::string_view text);
std::size_t FindFrameMarker(std::u16string_view text);

}  // namespace pelorin
