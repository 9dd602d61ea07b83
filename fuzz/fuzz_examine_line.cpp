// One line as UTF-8 bytes must be judged and decoded as the same characters in UTF-16, where
// every byte outside a well-formed sequence is one character (U+FFFD); and ReadLine's reading
// straight from the bytes must agree with the reading through the characters.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "pelorin/decoder.h"
#include "pelorin/line_reading.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length and code point of the well-formed UTF-8 sequence at `s`, or length 0.
std::size_t wellFormed(std::string_view s, char32_t& c) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const auto cont = [&](std::size_t k) { return k < s.size() && (b(k) & 0xC0) == 0x80; };
    const unsigned lead = b(0);
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF && cont(1)) {
        c = ((lead & 0x1FU) << 6) | (b(1) & 0x3FU);
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF && cont(1) && cont(2)) {
        c = ((lead & 0x0FU) << 12) | ((b(1) & 0x3FU) << 6) | (b(2) & 0x3FU);
        return (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4 && cont(1) && cont(2) && cont(3)) {
        c = ((lead & 0x07U) << 18) | ((b(1) & 0x3FU) << 12) | ((b(2) & 0x3FU) << 6) |
            (b(3) & 0x3FU);
        return (c >= 0x10000 && c <= 0x10FFFF) ? 4 : 0;
    }
    return 0;
}

std::u16string toUtf16(std::string_view s) {
    std::u16string out;
    while (!s.empty()) {
        char32_t c = 0;
        const std::size_t n = wellFormed(s, c);
        if (n == 0) {
            out.push_back(kReplacement);
            s.remove_prefix(1);
        } else if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
            s.remove_prefix(n);
        } else {
            out.push_back(static_cast<char16_t>(c));
            s.remove_prefix(n);
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    pelorin::FrameText fromUtf8{};
    pelorin::FrameText fromUtf16{};
    const auto kind = pelorin::ExamineLine(line, fromUtf8);
    FUZZ_CHECK(kind == pelorin::ExamineLine(toUtf16(line), fromUtf16));
    FUZZ_CHECK((kind == pelorin::LineKind::Other) ==
               (pelorin::FindFrameMarker(line) == std::string_view::npos));
    pelorin::RawRecord raw{};
    const pelorin::LineReading reading = pelorin::ReadLine(line, raw);
    FUZZ_CHECK(reading.kind == kind);
    if (kind == pelorin::LineKind::Telemetry) {
        FUZZ_CHECK(fromUtf8 == fromUtf16);
        for (std::size_t k = 0; k < pelorin::FrameMarker.size(); ++k) {
            FUZZ_CHECK(fromUtf8[k] == static_cast<char32_t>(pelorin::FrameMarker[k]));
        }
        pelorin::RawRecord general{};
        FUZZ_CHECK(reading.suspect == !pelorin::DecodeFrameRaw(fromUtf8, general));
        FUZZ_CHECK(raw == general);
    }
    return 0;
}
