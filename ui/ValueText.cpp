#include "ValueText.h"

#include <array>

#include "Module1.h"
#include "pelorin/elapsed_time.h"
#include "pelorin/number_text.h"

namespace pelorin {
namespace {

constexpr int kTimeIndex = 0;
constexpr int kLastMeasuredIndex = 28;
constexpr int kStatusIndex = 29;

// Bits 4..1 of the status byte are the panels, bit 0 is shown without a name.
constexpr std::size_t kShownBitsFrom = 3;
constexpr std::size_t kShownBits = 5;
constexpr std::array<std::string_view, 4> kFlagNames = {"X+", "Y+", "X-", "Y-"};

}  // namespace

std::string SolarArrayStatusText(double statusValue) {
    const auto b = static_cast<std::uint8_t>(RoundHalfEven32(statusValue));
    const std::string s = Module1::ByteToBin(b).substr(kShownBitsFrom, kShownBits);
    std::string text = s + "  (";
    for (std::size_t flag = 0; flag < kFlagNames.size(); ++flag) {
        text += kFlagNames[flag];
        text += s[flag] == '1' ? " on" : " off";
        text += flag + 1 < kFlagNames.size() ? ", " : ")";
    }
    return text;
}

std::string ValueBoxText(const TelemetryRecord& record, int index,
                         std::string_view decimalSeparator) {
    const double value = record[static_cast<std::size_t>(index)];
    if (index == kTimeIndex) {
        const std::int32_t seconds = RoundHalfEven32(value);
        return FormatInteger(seconds) + " => " + SecToTime(seconds);
    }
    if (index <= kLastMeasuredIndex) {
        return FormatFixed3(value, decimalSeparator);
    }
    if (index == kStatusIndex) {
        return SolarArrayStatusText(value);
    }
    return FormatInteger(RoundHalfEven32(value));
}

}  // namespace pelorin
