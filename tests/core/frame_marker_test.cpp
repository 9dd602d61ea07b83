#include "pelorin/frame_marker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::size_t kNone = std::string_view::npos;

struct MarkerCase {
    const char* utf8;
    std::size_t bytes;  // offset in UTF-8 bytes
    std::size_t units;  // offset in UTF-16 units
};

std::u16string ToUtf16(const std::string& utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;  // the cases below
        char32_t c = length == 1 ? lead : lead & (length == 2 ? 0x1FU : 0x0FU);
        for (std::size_t k = 1; k < length; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3FU);
        }
        out.push_back(static_cast<char16_t>(c));
        i += length;
    }
    return out;
}

TEST(FindFrameMarker, FirstMarkerInEitherCaseInBytesAndUnits) {
    const std::vector<MarkerCase> cases = {
        {"", kNone, kNone},
        {"PLRN-1.TL", kNone, kNone},
        {"PLRN-1.TLM", 0, 0},
        {"xx plrn-1.tlm0001", 3, 3},
        {"PPLRN-1.TLM", 1, 1},
        {"PLRN-1.TLM PLRN-1.TLM", 0, 0},
        {". .. PLRN-1.TLX plrn-1.tlm.", 16, 16},  // dots that begin no marker
        {"PLRN-1.TL.PLRN-1.TLM", 10, 10},
        {"x.PLRN-1.TLM", 2, 2},
        {"\xC3\xA9\xE2\x82\xAC PlRn-1.TlM", 6, 3},
        {"PLRN\xE2\x80\x90"
         "1.TLM",
         kNone, kNone},                           // a look-alike hyphen, U+2010
        {"\xEF\xBC\xB0LRN-1.TLM", kNone, kNone},  // a full-width P
    };
    for (const MarkerCase& c : cases) {
        EXPECT_EQ(pelorin::FindFrameMarker(std::string_view(c.utf8)), c.bytes) << c.utf8;
        EXPECT_EQ(pelorin::FindFrameMarker(std::u16string_view(ToUtf16(c.utf8))), c.units)
            << c.utf8;
    }
}

}  // namespace
