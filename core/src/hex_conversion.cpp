#include "pelorin/hex_conversion.h"

#include <string_view>

#include "pelorin/ascii_case.h"

namespace pelorin {
namespace {

constexpr int kMaxDigits = 8;
constexpr std::uint32_t kSixteenBit = 0x10000U;

template <typename CharT>
constexpr char32_t upperAscii(CharT c) {
    return UpperAscii(static_cast<char32_t>(c));
}

template <typename CharT>
constexpr int hexDigitValue(CharT c) {
    const char32_t u = upperAscii(c);
    if (u >= U'0' && u <= U'9') {
        return static_cast<int>(u - U'0');
    }
    if (u >= U'A' && u <= U'F') {
        return static_cast<int>(u - U'A') + 10;
    }
    return -1;
}

template <typename CharT>
bool holdsBlank(std::basic_string_view<CharT> text) {
    for (const CharT c : text) {
        if (c == CharT(' ') || c == CharT('\t') || c == CharT('\n')) {
            return true;
        }
    }
    return false;
}

// Where the digits begin: after a "0X" or "&H" prefix in either case, else at the start.
template <typename CharT>
std::size_t digitsStart(std::basic_string_view<CharT> text) {
    if (text.size() < 2) {
        return 0;
    }
    const char32_t first = upperAscii(text[0]);
    const char32_t second = upperAscii(text[1]);
    const bool prefixed = (first == U'0' && second == U'X') || (first == U'&' && second == U'H');
    return prefixed ? 2 : 0;
}

template <typename CharT>
std::int32_t readHex(std::basic_string_view<CharT> text) {
    if (holdsBlank(text)) {
        return 0;
    }
    std::uint32_t v = 0;
    int digits = 0;
    for (std::size_t i = digitsStart(text); i < text.size(); ++i) {
        const int d = hexDigitValue(text[i]);
        if (d < 0) {
            break;
        }
        if (++digits > kMaxDigits) {
            return 0;
        }
        v = (v << 4) | static_cast<std::uint32_t>(d);
    }
    if (digits <= 4) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
    }
    return static_cast<std::int32_t>(v);
}

template <typename CharT>
std::int32_t readUnsigned(std::basic_string_view<CharT> text) {
    const std::int32_t n = readHex(text);
    return n < 0 ? n + static_cast<std::int32_t>(kSixteenBit) : n;
}

}  // namespace

std::int32_t HexToDec(std::string_view HexValue) {
    return readHex(HexValue);
}
std::int32_t HexToDec(std::u16string_view HexValue) {
    return readHex(HexValue);
}
std::int32_t HexToDec(std::u32string_view HexValue) {
    return readHex(HexValue);
}

std::int32_t HexToUnsignLong(std::string_view HexValue) {
    return readUnsigned(HexValue);
}
std::int32_t HexToUnsignLong(std::u16string_view HexValue) {
    return readUnsigned(HexValue);
}
std::int32_t HexToUnsignLong(std::u32string_view HexValue) {
    return readUnsigned(HexValue);
}

}  // namespace pelorin
