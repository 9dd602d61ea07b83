#pragma once

#include <string>

#include "pelorin/frame_marker.h"

// Telemetry lines for tests.
namespace testframes {

// The 112 digits of the published complete line.
inline const std::string kExampleDigits =
    "0001E240CC5CD0CCACCC86E878873875B6EBA0B80B904008006007004CC5004E04F01002001801C070090080085016"
    "012C8000010203FFFE";

inline std::string line(const std::string& digits = kExampleDigits) {
    return std::string(pelorin::FrameMarker) + digits;
}

inline std::u16string toU16(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

// A line whose system time field holds `seconds` and whose other digits are the example's.
inline std::string lineWithTime(unsigned seconds) {
    static const char* hex = "0123456789ABCDEF";
    std::string digits = kExampleDigits;
    for (int k = 7; k >= 0; --k) {
        digits[static_cast<std::size_t>(k)] = hex[seconds & 0xF];
        seconds >>= 4;
    }
    return line(digits);
}

}  // namespace testframes
