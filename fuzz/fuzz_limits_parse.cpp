// The limits file parser: whatever the text, it ends, every bound it takes is a number, low is
// never above high, and its warnings name lines that exist.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "pelorin/limits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const pelorin::LimitsLoad load = pelorin::ParseLimits(text);
    for (const pelorin::ValueLimits& limits : load.limits) {
        FUZZ_CHECK(!limits.low || std::isfinite(*limits.low));
        FUZZ_CHECK(!limits.high || std::isfinite(*limits.high));
        FUZZ_CHECK(!limits.low || !limits.high || *limits.low <= *limits.high);
    }
    const auto lineEnds = static_cast<int>(
        std::count_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }));
    for (const pelorin::LimitsWarning& warning : load.warnings) {
        FUZZ_CHECK(warning.line >= 1 && warning.line <= lineEnds + 1);
    }
    return 0;
}
