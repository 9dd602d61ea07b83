#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>

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

// What the four values of each quantity are, in the order of values 4k+1..4k+4.
inline constexpr std::array<std::string_view, kStatisticsCount> kStatisticNames = {
    "minimum", "maximum", "average", "actual"};

// The statistic (0 minimum .. 3 actual) of value `index`, or -1 for a value that is none.
constexpr int StatisticOf(int index) {
    const int first = kFirstQuantityValue;
    const int end = kFirstQuantityValue + kQuantityCount * kStatisticsCount;
    return index >= first && index < end ? (index - first) % kStatisticsCount : -1;
}

// The caption of value `index` without its trailing blanks: "Bus Voltage".
constexpr std::string_view TrimmedCaption(int index) {
    std::string_view caption = kValueCaptions[static_cast<std::size_t>(index)].caption;
    while (!caption.empty() && caption.back() == ' ') {
        caption.remove_suffix(1);
    }
    return caption;
}

// Names of the values that are no statistic and whose caption alone says too little. Value 0's
// option caption is that of the first quantity.
inline constexpr std::array<std::pair<int, std::string_view>, 4> kOwnValueNames = {{
    {0, "System time"},
    {29, "Solar Array Status"},
    {30, "Nominal mode on"},
    {31, "Nominal mode off"},
}};

// What value `index` (0..34) is, for texts that name it: "average Bus Voltage", "System time",
// "Single Errors".
inline std::string ValueName(int index) {
    if (const int statistic = StatisticOf(index); statistic >= 0) {
        return std::string(kStatisticNames[static_cast<std::size_t>(statistic)]) + " " +
               std::string(TrimmedCaption(index));
    }
    for (const auto& [value, name] : kOwnValueNames) {
        if (value == index) {
            return std::string(name);
        }
    }
    return std::string(TrimmedCaption(index));
}

}  // namespace pelorin
