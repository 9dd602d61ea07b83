#pragma once

#include <cstdint>
#include <string_view>
#include <type_traits>

#include "pelorin/ascii_case.h"

// How a run of hexadecimal digits is read (HexToDec, HexToUnsignLong and every field of a
// frame), inline so that the frame decoder reads its 36 fields without a call each.
namespace pelorin::hex {

inline constexpr int kMaxDigits = 8;
inline constexpr int kSixteenBitDigits = 4;
inline constexpr std::int32_t kSixteenBit = 0x10000;
inline constexpr int kNotDigit = -1;
inline constexpr char32_t kDecimalDigits = 10;
inline constexpr char32_t kLetterDigits = 6;  // A..F
inline constexpr char32_t kLowerCaseBit = 0x20;

template <typename CharT>
constexpr char32_t codePoint(CharT c) {
    return static_cast<char32_t>(static_cast<std::make_unsigned_t<CharT>>(c));
}

// Value of a hexadecimal digit of either case, kNotDigit for any other character. Without
// branches: frames hold random digits, so a branch on digit or letter would be mispredicted
// about every other character, and a loop over a whole frame becomes vector instructions.
constexpr int digitValue(char32_t c) {
    const char32_t digit = c - U'0';
    const char32_t letter = (c | kLowerCaseBit) - U'a';
    int value = kNotDigit;
    value = letter < kLetterDigits ? static_cast<int>(letter + kDecimalDigits) : value;
    value = digit < kDecimalDigits ? static_cast<int>(digit) : value;
    return value;
}

// digitValue of a byte, in 8-bit arithmetic only, so that a loop over the bytes of a frame
// becomes vector instructions of 16 bytes and more at a time.
constexpr std::int8_t byteDigitValue(unsigned char c) {
    using Byte = unsigned char;
    constexpr auto kDecimal = static_cast<Byte>(kDecimalDigits);
    constexpr auto kLetters = static_cast<Byte>(kLetterDigits);
    const auto digit = static_cast<Byte>(c - Byte{'0'});
    const auto letter = static_cast<Byte>((c | static_cast<Byte>(kLowerCaseBit)) - Byte{'a'});
    auto value = static_cast<Byte>(kNotDigit);
    value = letter < kLetters ? static_cast<Byte>(letter + kDecimal) : value;
    value = digit < kDecimal ? digit : value;
    return static_cast<std::int8_t>(value);
}

// The number `count` digits of value `v` stand for: up to 4 digits signed 16-bit, 5 to 8
// signed 32-bit.
constexpr std::int32_t fromDigits(std::uint32_t v, int count) {
    if (count <= kSixteenBitDigits) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
    }
    return static_cast<std::int32_t>(v);
}

// A signed reading as HexToUnsignLong gives it: a negative one has 65536 added once.
constexpr std::int32_t asUnsigned(std::int32_t n) {
    return n < 0 ? n + kSixteenBit : n;
}

template <typename CharT>
constexpr bool holdsBlank(std::basic_string_view<CharT> text) {
    for (const CharT c : text) {
        if (c == CharT(' ') || c == CharT('\t') || c == CharT('\n')) {
            return true;
        }
    }
    return false;
}

// Where the digits begin: after a "0X" or "&H" prefix in either case, else at the start.
template <typename CharT>
constexpr std::size_t digitsStart(std::basic_string_view<CharT> text) {
    if (text.size() < 2) {
        return 0;
    }
    const char32_t first = UpperAscii(codePoint(text[0]));
    const char32_t second = UpperAscii(codePoint(text[1]));
    const bool prefixed = (first == U'0' && second == U'X') || (first == U'&' && second == U'H');
    return prefixed ? 2 : 0;
}

// Up to 4 digits as signed 16-bit, 5 to 8 as signed 32-bit; 0 for no digits, more than 8, or a
// blank, tab or line feed anywhere in the text.
template <typename CharT>
constexpr std::int32_t readSigned(std::basic_string_view<CharT> text) {
    std::uint32_t v = 0;
    std::size_t i = digitsStart(text);
    const std::size_t first = i;
    for (; i < text.size(); ++i) {
        const int d = digitValue(codePoint(text[i]));
        if (d < 0) {
            break;
        }
        v = (v << 4) | static_cast<std::uint32_t>(d);
    }
    const auto digits = static_cast<int>(i - first);
    // Neither the prefix nor a digit is a blank, so only what follows the digits can hold one.
    if (digits > kMaxDigits || holdsBlank(text.substr(i))) {
        return 0;
    }
    return fromDigits(v, digits);
}

template <typename CharT>
constexpr std::int32_t readUnsigned(std::basic_string_view<CharT> text) {
    return asUnsigned(readSigned(text));
}

}  // namespace pelorin::hex
