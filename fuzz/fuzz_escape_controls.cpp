// What pelorin-decode writes to a terminal about a file name: whatever the bytes of the name,
// the message holds no control character and only valid UTF-8, and a harmless name is shown
// as it is.
#include <cstdint>
#include <string>
#include <string_view>

#include "error_report.h"
#include "fuzz_check.h"
#include "pelorin/unicode_chars.h"

namespace {

// True when `text` is valid UTF-8 without C0 or C1 controls or DEL.
bool isHarmless(std::string_view text) {
    while (!text.empty()) {
        const pelorin::CharRead c = pelorin::ReadChar(text);
        const bool invalid = c.codePoint == pelorin::kReplacementChar && c.units == 1;
        if (invalid || c.codePoint < 0x20 || (c.codePoint >= 0x7F && c.codePoint <= 0x9F)) {
            return false;
        }
        text.remove_prefix(c.units);
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    const std::string shown = pelorin::cli::EscapeControls(name);
    FUZZ_CHECK(isHarmless(shown));
    FUZZ_CHECK(shown.size() >= name.size());
    if (isHarmless(name)) {
        FUZZ_CHECK(shown == name);
    }
    return 0;
}
