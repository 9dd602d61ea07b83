#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Reading characters (Unicode code points) out of UTF-8 or UTF-16 text, by one rule: a code
// unit that is not part of a well-formed sequence is one character of its own, so that damaged
// input is counted, never skipped.
namespace pelorin {

inline constexpr char32_t kReplacementChar = 0xFFFD;
inline constexpr std::size_t kUtf8MaxUnits = 4;  // bytes of the longest UTF-8 sequence
inline constexpr char32_t kAsciiEnd = 0x80;
// The byte order mark of UTF-8, which a text may start with; it is no character of the text.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// `text` without the UTF-8 byte order mark it may start with.
constexpr std::string_view WithoutByteOrderMark(std::string_view text) {
    return text.starts_with(kUtf8ByteOrderMark) ? text.substr(kUtf8ByteOrderMark.size()) : text;
}

// One character and the code units it takes.
struct CharRead {
    char32_t codePoint;
    std::size_t units;
};

namespace detail {

// What the lead byte of a UTF-8 sequence announces: its length in bytes (0: no lead byte), the
// payload bits of the lead, and the range the second byte must lie in (which rules out overlong
// forms, surrogates and values beyond U+10FFFF).
struct Utf8Lead {
    std::size_t length;
    char32_t bits;
    unsigned char secondLow;
    unsigned char secondHigh;
};

constexpr Utf8Lead ClassifyLead(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return {2, lead & 0x1FU, 0x80, 0xBF};
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return {3, lead & 0x0FU, static_cast<unsigned char>(lead == 0xE0 ? 0xA0 : 0x80),
                static_cast<unsigned char>(lead == 0xED ? 0x9F : 0xBF)};
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return {4, lead & 0x07U, static_cast<unsigned char>(lead == 0xF0 ? 0x90 : 0x80),
                static_cast<unsigned char>(lead == 0xF4 ? 0x8F : 0xBF)};
    }
    return {0, 0, 0, 0};
}

// Whether byte `k` (1..3) of a sequence with lead `lead` may be `b`.
constexpr bool FitsSequence(const Utf8Lead& lead, std::size_t k, unsigned char b) {
    return k == 1 ? (b >= lead.secondLow && b <= lead.secondHigh) : (b >= 0x80 && b <= 0xBF);
}

}  // namespace detail

// The character at the start of UTF-8 `text`, which must not be empty, and its 1..4 bytes. A
// byte that does not begin a well-formed sequence (overlong forms, surrogates and values beyond
// U+10FFFF are not well-formed) is one character, U+FFFD.
constexpr CharRead ReadChar(std::string_view text) {
    const auto first = static_cast<unsigned char>(text[0]);
    if (first < kAsciiEnd) {
        return {first, 1};
    }
    constexpr CharRead kBad{kReplacementChar, 1};
    const detail::Utf8Lead lead = detail::ClassifyLead(first);
    if (lead.length == 0 || text.size() < lead.length) {
        return kBad;
    }
    char32_t c = lead.bits;
    for (std::size_t k = 1; k < lead.length; ++k) {
        const auto b = static_cast<unsigned char>(text[k]);
        if (!detail::FitsSequence(lead, k, b)) {
            return kBad;
        }
        c = (c << 6) | (b & 0x3FU);
    }
    return {c, lead.length};
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

// How far one call of Utf8ToUtf16 got.
struct Utf16Conversion {
    std::size_t bytesRead;
    std::size_t unitsWritten;
};

// Converts UTF-8 `bytes` to UTF-16 at `out`, which has room for bytes.size() units (never more
// are needed), character by character as ReadChar reads them: a byte that is not part of a
// well-formed sequence becomes one U+FFFD. Unless `last`, a sequence cut off by the end of
// `bytes` is left unread, to be passed again at the start of the next piece.
Utf16Conversion Utf8ToUtf16(std::string_view bytes, char16_t* out, bool last);

// Appends code point `c` to `out` in UTF-8.
inline void AppendUtf8(std::string& out, char32_t c) {
    constexpr char32_t kLastOneByte = 0x7F;
    constexpr char32_t kLastTwoBytes = 0x7FF;
    constexpr char32_t kLastThreeBytes = 0xFFFF;
    const auto byte = [&out](char32_t b) { out.push_back(static_cast<char>(b)); };
    if (c <= kLastOneByte) {
        byte(c);
    } else if (c <= kLastTwoBytes) {
        byte(0xC0 | (c >> 6));
        byte(0x80 | (c & 0x3F));
    } else if (c <= kLastThreeBytes) {
        byte(0xE0 | (c >> 12));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | (c >> 18));
        byte(0x80 | ((c >> 12) & 0x3F));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
}

}  // namespace pelorin
