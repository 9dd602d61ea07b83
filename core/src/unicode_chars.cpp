#include "pelorin/unicode_chars.h"

namespace pelorin {
namespace {

constexpr char32_t kFirstSupplementary = 0x10000;
constexpr char16_t kHighSurrogateBase = 0xD800;
constexpr char16_t kLowSurrogateBase = 0xDC00;

// Whether `tail`, the last bytes of a piece, is the beginning of a well-formed sequence that
// the next piece may complete.
bool IsCutSequence(std::string_view tail) {
    const detail::Utf8Lead lead = detail::ClassifyLead(static_cast<unsigned char>(tail[0]));
    if (lead.length == 0 || tail.size() >= lead.length) {
        return false;
    }
    for (std::size_t k = 1; k < tail.size(); ++k) {
        if (!detail::FitsSequence(lead, k, static_cast<unsigned char>(tail[k]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

Utf16Conversion Utf8ToUtf16(std::string_view bytes, char16_t* out, bool last) {
    std::size_t read = 0;
    std::size_t written = 0;
    while (read < bytes.size()) {
        const auto first = static_cast<unsigned char>(bytes[read]);
        if (first < kAsciiEnd) {
            out[written++] = first;
            ++read;
            continue;
        }
        const std::string_view rest = bytes.substr(read);
        if (!last && rest.size() < kUtf8MaxUnits && IsCutSequence(rest)) {
            break;
        }
        const CharRead c = ReadChar(rest);
        if (c.codePoint >= kFirstSupplementary) {
            const char32_t v = c.codePoint - kFirstSupplementary;
            out[written++] = static_cast<char16_t>(kHighSurrogateBase + (v >> 10));
            out[written++] = static_cast<char16_t>(kLowSurrogateBase + (v & 0x3FF));
        } else {
            out[written++] = static_cast<char16_t>(c.codePoint);
        }
        read += c.units;
    }
    return {read, written};
}

}  // namespace pelorin
