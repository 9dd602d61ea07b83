#pragma once

#include <array>
#include <string_view>

#include "pelorin/telemetry_table.h"

// The captions of the values 0..34: what the window's option buttons and unit labels say, and
// so what the CSV header repeats. Exact texts, trailing blanks kept ("5 Volts " has one).
namespace pelorin {

inline constexpr int kQuantityCount = 7;    // the measured quantities of values 1..28
inline constexpr int kStatisticsCount = 4;  // minimum, maximum, average, actual
inline constexpr int kFirstQuantityValue = 1;

struct ValueCaption {
    std::string_view caption;
    std::string_view unit;
};

// Quantity k (0..6) owns values 4k+1 (minimum) to 4k+4 (actual).
inline constexpr std::array<ValueCaption, kQuantityCount> kQuantityCaptions = {{
    {"5 Volts ", "V"},
    {"3.3 Volts ", "V"},
    {"Temperature ", "C"},
    {"Current ", "A"},
    {"Bus Voltage ", "V"},
    {"Bus Current ", "A"},
    {"Charge Curr", "A"},
}};

namespace detail {

constexpr std::array<ValueCaption, kShownValues> MakeValueCaptions() {
    std::array<ValueCaption, kShownValues> captions{};
    // Value 0, the time counter, carries the first quantity's captions.
    captions[0] = kQuantityCaptions[0];
    for (int i = kFirstQuantityValue; i < kFirstQuantityValue + kQuantityCount * kStatisticsCount;
         ++i) {
        captions[i] = kQuantityCaptions[(i - kFirstQuantityValue) / kStatisticsCount];
    }
    captions[29] = {"Status", ""};
    captions[30] = {"on", "min"};
    captions[31] = {"off", "min"};
    captions[32] = {"Single Errors", ""};
    captions[33] = {"All Errors", ""};
    captions[34] = {"All Errors 2", ""};
    return captions;
}

}  // namespace detail

// Option caption and unit caption of value index 0..34.
inline constexpr std::array<ValueCaption, kShownValues> kValueCaptions =
    detail::MakeValueCaptions();

}  // namespace pelorin
