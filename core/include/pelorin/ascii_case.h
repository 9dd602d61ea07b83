#pragma once

namespace pelorin {

// Upper case of code point `c` as telemetry lines are read: 'a'..'z' become 'A'..'Z', every
// other character stays. No other character's upper case is a hexadecimal digit or a marker
// character, so this decides everything a full case mapping would, and it never changes the
// number of characters. Defined for every value.
constexpr char32_t UpperAscii(char32_t c) {
    return (c >= U'a' && c <= U'z') ? c - (U'a' - U'A') : c;
}

}  // namespace pelorin
