#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "pelorin/decoder.h"
#include "pelorin/hex_conversion.h"
#include "scalings.h"

// The 36 fields of a telemetry line and how each is read and scaled.
namespace pelorin::fields {

enum class Reading { Signed, Unsigned };

struct Field {
    int offset;  // in the line, from 0; the marker takes 0..9
    int digits;
    Reading reading;
    Scaling scaling;
};

constexpr std::array<Field, kValuesPerRecord> makeLayout() {
    std::array<Field, kValuesPerRecord> layout{};
    layout[0] = {10, 8, Reading::Signed, Scaling::None};
    constexpr std::array<Scaling, 7> quantities = {
        Scaling::Rail,       Scaling::Rail,       Scaling::Temperature,  Scaling::Current,
        Scaling::BusVoltage, Scaling::BusCurrent, Scaling::ChargeCurrent};
    for (int i = 1; i <= 28; ++i) {
        layout[i] = {18 + 3 * (i - 1), 3, Reading::Signed, quantities[(i - 1) / 4]};
    }
    layout[29] = {102, 2, Reading::Signed, Scaling::None};
    layout[30] = {104, 4, Reading::Unsigned, Scaling::None};
    layout[31] = {108, 4, Reading::Unsigned, Scaling::None};
    layout[32] = {112, 2, Reading::Signed, Scaling::None};
    layout[33] = {114, 2, Reading::Signed, Scaling::None};
    layout[34] = {116, 2, Reading::Signed, Scaling::None};
    layout[35] = {118, 4, Reading::Signed, Scaling::None};
    return layout;
}
inline constexpr std::array<Field, kValuesPerRecord> kLayout = makeLayout();
static_assert(kLayout[35].offset + kLayout[35].digits == kFrameLength);

// Any characters at all: every field through the full conversion, which defines what a
// prefix, a blank or a foreign character in a field gives.
inline void decodeAnyCharacters(const FrameText& frame, TelemetryRecord& record) {
    for (std::size_t i = 0; i < kLayout.size(); ++i) {
        const Field& f = kLayout[i];
        const std::u32string_view digits(frame.data() + f.offset,
                                         static_cast<std::size_t>(f.digits));
        const std::int32_t n =
            f.reading == Reading::Unsigned ? HexToUnsignLong(digits) : HexToDec(digits);
        record[i] = Scale(f.scaling, n);
    }
}

// Nibble value of an upper-case hexadecimal digit, or kNotHex. Branch-free, so that the
// compiler can convert a whole frame at once.
inline constexpr std::uint8_t kNotHex = 0x80;
constexpr std::uint8_t nibble(char32_t c) {
    const bool digit = c - U'0' < 10;
    const bool letter = c - U'A' < 6;
    const auto d = static_cast<std::uint8_t>(c - U'0');
    const auto l = static_cast<std::uint8_t>(c - U'A' + 10);
    return digit ? d : (letter ? l : kNotHex);
}

// Up to 4 digits read as signed 16-bit, 5 to 8 as signed 32-bit.
inline std::int32_t joinSigned(const std::uint8_t* p, int count) {
    std::uint32_t v = 0;
    for (int k = 0; k < count; ++k) {
        v = (v << 4) | p[k];
    }
    return count <= 4 ? static_cast<std::int16_t>(static_cast<std::uint16_t>(v))
                      : static_cast<std::int32_t>(v);
}

inline std::int32_t joinUnsigned16(const std::uint8_t* p) {
    return (p[0] << 12) | (p[1] << 8) | (p[2] << 4) | p[3];
}

// Four 3-digit fields of one quantity (minimum, maximum, average, actual) from `p` on.
template <double (*scale)(std::int32_t)>
void fillQuantity(const std::uint8_t*& p, TelemetryRecord& record, std::size_t first) {
    for (std::size_t k = 0; k < 4; ++k, p += 3) {
        record[first + k] = scale((p[0] << 8) | (p[1] << 4) | p[2]);
    }
}

// The common case, 112 hexadecimal digits: the same readings and scalings as the layout
// table, unrolled by quantity. Returns false, writing nothing, if any character is not a digit.
inline bool decodeHexDigitsOnly(const FrameText& frame, TelemetryRecord& record) {
    constexpr std::size_t kFirstDigit = kLayout[0].offset;
    std::array<std::uint8_t, kFrameDigits> nibbles;
    std::uint8_t bad = 0;
    for (std::size_t k = 0; k < nibbles.size(); ++k) {
        nibbles[k] = nibble(frame[kFirstDigit + k]);
        bad |= nibbles[k];
    }
    if ((bad & kNotHex) != 0) {
        return false;
    }
    const std::uint8_t* p = nibbles.data();
    record[0] = joinSigned(p, 8);
    p += 8;
    fillQuantity<scaling::rail>(p, record, 1);
    fillQuantity<scaling::rail>(p, record, 5);
    fillQuantity<scaling::temperature>(p, record, 9);
    fillQuantity<scaling::current>(p, record, 13);
    fillQuantity<scaling::busVoltage>(p, record, 17);
    fillQuantity<scaling::busCurrent>(p, record, 21);
    fillQuantity<scaling::chargeCurrent>(p, record, 25);
    record[29] = joinSigned(p, 2);
    record[30] = joinUnsigned16(p + 2);
    record[31] = joinUnsigned16(p + 6);
    record[32] = joinSigned(p + 10, 2);
    record[33] = joinSigned(p + 12, 2);
    record[34] = joinSigned(p + 14, 2);
    record[35] = joinSigned(p + 16, 4);
    return true;
}

}  // namespace pelorin::fields
