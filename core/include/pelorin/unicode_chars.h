#pragma once

#include <cstddef>
#include <string_view>

// Reading characters (Unicode code points) out of UTF-8 or UTF-16 text, by one rule: a code
// unit that is not part of a well-formed sequence is one character of its own, so that damaged
// input is counted, never skipped.
namespace pelorin {

inline constexpr char32_t kReplacementChar = 0xFFFD;
inline constexpr std::size_t kUtf8MaxUnits = 4;  // bytes of the longest UTF-8 sequence
inline constexpr char32_t kAsciiEnd = 0x80;

// One character and the code units it takes.
struct CharRead {
    char32_t codePoint;
    std::size_t units;
};

// The character at the start of UTF-8 `text`, which must not be empty, and its 1..4 bytes. A
// byte that does not begin a well-formed sequence (overlong forms, surrogates and values beyond
// U+10FFFF are not well-formed) is one character, U+FFFD.
constexpr CharRead ReadChar(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < kAsciiEnd) {
        return {lead, 1};
    }
    constexpr CharRead kBad{kReplacementChar, 1};
    std::size_t length = 0;
    char32_t c = 0;
    unsigned char low = 0x80;  // allowed range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1FU;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0FU;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07U;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing beyond U+10FFFF
    } else {
        return kBad;
    }
    if (text.size() < length) {
        return kBad;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[k]);
        if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) {
            return kBad;
        }
        c = (c << 6) | (b & 0x3FU);
    }
    return {c, length};
}

// The character at the start of UTF-16 `text`, which must not be empty, and its 1..2 units. A
// surrogate that is not part of a pair is one character, itself.
constexpr CharRead ReadChar(std::u16string_view text) {
    const char16_t c = text[0];
    if (c >= 0xD800 && c <= 0xDBFF && text.size() > 1 && text[1] >= 0xDC00 && text[1] <= 0xDFFF) {
        return {0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[1] - 0xDC00U), 2};
    }
    return {c, 1};
}

}  // namespace pelorin
