#include "history/QuantityChoices.h"

#include <cctype>

#include "pelorin/value_info.h"

namespace pelorin::history {
namespace {

constexpr int kFirstValue = 1;  // value 0 is the on-board time, the time axis itself

std::string Trimmed(std::string_view text) {
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::string WithUnit(std::string name, std::string_view unit) {
    return unit.empty() ? name : name + " (" + std::string(unit) + ")";
}

std::vector<QuantityChoice> MakeChoices() {
    std::vector<QuantityChoice> choices;
    for (int q = 0; q < kQuantityCount; ++q) {
        const int first = kFirstQuantityValue + q * kStatisticsCount;
        const ValueInfo& info = InfoOf(first);
        choices.push_back({WithUnit(Trimmed(info.caption) + ": range, average, actual", info.unit),
                           {first, first + 1, first + 2, first + 3},
                           std::string(info.unit)});
    }
    for (int v = kFirstValue; v < kValuesPerRecord; ++v) {
        const ValueInfo& info = InfoOf(v);
        std::string name(info.spokenName);
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        choices.push_back({WithUnit(name, info.unit), {v}, std::string(info.unit)});
    }
    return choices;
}

}  // namespace

const std::vector<QuantityChoice>& QuantityChoices() {
    static const std::vector<QuantityChoice> choices = MakeChoices();
    return choices;
}

}  // namespace pelorin::history
