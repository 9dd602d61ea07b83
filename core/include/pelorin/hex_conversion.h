#pragma once

#include <cstdint>
#include <string_view>

namespace pelorin {

// Reads a run of hexadecimal digits ("FF", "0x1F", "&H1F") as a signed 16-bit (up to 4 digits)
// or 32-bit (5 to 8 digits) two's-complement number. Reading stops at the first non-digit;
// no digits, more than 8 digits, or any blank, tab or line feed in the text give 0.
std::int32_t HexToDec(std::string_view HexValue);
std::int32_t HexToDec(std::u16string_view HexValue);
std::int32_t HexToDec(std::u32string_view HexValue);

// As HexToDec, then a negative result has 65536 added once: "8000" gives 32768, "FFFF" 65535.
std::int32_t HexToUnsignLong(std::string_view HexValue);
std::int32_t HexToUnsignLong(std::u16string_view HexValue);
std::int32_t HexToUnsignLong(std::u32string_view HexValue);

}  // namespace pelorin
