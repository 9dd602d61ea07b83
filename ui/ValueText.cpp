#include "ValueText.h"

#include <array>
#include <map>

#include "Module1.h"
#include "pelorin/elapsed_time.h"
#include "pelorin/number_text.h"
#include "pelorin/value_info.h"
#include "pelorin/value_texts.h"

namespace pelorin {
namespace {

// Bits 4..1 of the status byte are the panels, bit 0 is shown without a name.
constexpr int kFirstFlagBit = 4;
constexpr std::size_t kShownBitsFrom = 3;  // of the eight characters, bit 7 first
constexpr std::size_t kShownBits = 5;
constexpr std::array<std::string_view, 4> kFlagNames = {"X+", "Y+", "X-", "Y-"};

// "0.000" texts of measured values from the tables of their readings, one set of tables per
// decimal separator; per thread, as the tables fill as they are read.
std::string MeasuredText(double value, Scaling scaling, std::string_view decimalSeparator) {
    thread_local std::map<std::string, ValueTexts, std::less<>> tables;
    auto found = tables.find(decimalSeparator);
    if (found == tables.end()) {
        const std::string separator(decimalSeparator);
        found = tables
                    .try_emplace(
                        separator,
                        [separator](std::string& out, double v) {
                            out.append(FormatFixed3(v, separator));
                        },
                        ValueTexts::WholeNumbers::Decimal)
                    .first;
    }
    std::string text(ValueTexts::kMaxText, '\0');
    text.resize(found->second.put(text, 0, scaling, value));
    return text;
}

std::uint8_t StatusByte(double statusValue) {
    return static_cast<std::uint8_t>(RoundHalfEven32(statusValue));
}

}  // namespace

SolarArrayFlags SolarArrayFlagsOf(double statusValue) {
    const unsigned b = StatusByte(statusValue);
    SolarArrayFlags flags{};
    for (std::size_t flag = 0; flag < flags.size(); ++flag) {
        flags[flag] = ((b >> (kFirstFlagBit - static_cast<int>(flag))) & 1U) != 0;
    }
    return flags;
}

std::string SolarArrayStatusText(double statusValue) {
    const std::string bits = Module1::ByteToBin(StatusByte(statusValue));
    const SolarArrayFlags flags = SolarArrayFlagsOf(statusValue);
    std::string text = bits.substr(kShownBitsFrom, kShownBits) + "  (";
    for (std::size_t flag = 0; flag < kFlagNames.size(); ++flag) {
        text += kFlagNames[flag];
        text += flags[flag] ? " on" : " off";
        text += flag + 1 < kFlagNames.size() ? ", " : ")";
    }
    return text;
}

std::string ValueBoxText(const TelemetryRecord& record, int index,
                         std::string_view decimalSeparator) {
    return ValueBoxText(record[static_cast<std::size_t>(index)], index, decimalSeparator);
}

std::string ValueBoxText(double value, int index, std::string_view decimalSeparator) {
    switch (InfoOf(index).kind) {
        case ValueKind::Time: {
            const std::int32_t seconds = RoundHalfEven32(value);
            return FormatInteger(seconds) + " => " + SecToTime(seconds);
        }
        case ValueKind::Measured:
            return MeasuredText(value, InfoOf(index).scaling, decimalSeparator);
        case ValueKind::Status:
            return SolarArrayStatusText(value);
        case ValueKind::Minutes:
        case ValueKind::Count:
            break;
    }
    return FormatInteger(RoundHalfEven32(value));
}

}  // namespace pelorin
