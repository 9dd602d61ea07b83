#include "pelorin/encoding_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_source.h"

namespace {

using namespace std::string_literals;

// The text read through an EncodingSource over `bytes`, handed out in reads of `sizes`.
std::string ReadAll(const std::string& bytes, const std::vector<std::size_t>& sizes) {
    MemorySource memory(bytes, sizes);
    pelorin::EncodingSource source(memory);
    std::string text;
    char buffer[5];
    for (pelorin::ReadOutcome r; (r = source.read(buffer, sizeof buffer)).bytes > 0;) {
        text.append(buffer, r.bytes);
    }
    EXPECT_TRUE(memory.exhausted());
    return text;
}

// `code points` as UTF-16 or UTF-32 units of `unitBytes`, in either byte order.
std::string Units(const std::u32string& points, int unitBytes, bool little) {
    std::string bytes;
    auto put = [&](char32_t unit) {
        for (int k = 0; k < unitBytes; ++k) {
            const int shift = 8 * (little ? k : unitBytes - 1 - k);
            bytes += static_cast<char>((unit >> shift) & 0xFF);
        }
    };
    for (const char32_t c : points) {
        if (unitBytes == 2 && c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return bytes;
}

const std::u32string kText = U"PLRN-1.TLM0001\r\nbeacon \u00E9\u20AC \U0001F600\r\nlast";
const std::string kUtf8 = "PLRN-1.TLM0001\r\nbeacon \xC3\xA9\xE2\x82\xAC \xF0\x9F\x98\x80\r\nlast";

TEST(EncodingSource, MarkedUtf16AndUtf32ReadAsUtf8InReadsOfAnySize) {
    struct Case {
        int unitBytes;
        bool little;
    };
    for (const Case c : {Case{2, true}, Case{2, false}, Case{4, true}, Case{4, false}}) {
        const std::string bytes = Units(U"\uFEFF" + kText, c.unitBytes, c.little);
        for (const auto& sizes : {std::vector<std::size_t>{1}, {3, 7}, {1 << 16}}) {
            EXPECT_EQ(ReadAll(bytes, sizes), kUtf8) << c.unitBytes << (c.little ? " LE" : " BE");
        }
    }
}

TEST(EncodingSource, OtherTextPassesUnchanged) {
    for (const std::string& text :
         {kUtf8, "\xEF\xBB\xBF"s + kUtf8, "\xFF"s, "\xFE\x01\x00"s, ""s}) {
        EXPECT_EQ(ReadAll(text, {1, 2}), text);
    }
}

// Each unit that is no character is one U+FFFD, so that a line keeps its length.
TEST(EncodingSource, UnitsThatAreNoCharacterBecomeOneReplacementEach) {
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case {
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"\xFF\xFE"s + "A\0\x00\xD8"
                       "B\0"s,
         "A" + fffd + "B"},                                    // high surrogate, no pair
        {"\xFE\xFF"s + "\xDC\x00\0A"s, fffd + "A"},            // low surrogate alone
        {"\xFF\xFE"s + "A\0\x3D\xD8"s, "A" + fffd},            // pair cut off by the end
        {"\xFF\xFE"s + "A\0B"s, "A" + fffd},                   // odd byte at the end
        {"\xFF\xFE\0\0"s + "\0\0\x11\0A\0\0\0"s, fffd + "A"},  // beyond U+10FFFF
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadAll(c.bytes, {1, 4}), c.text);
        EXPECT_EQ(ReadAll(c.bytes, {64}), c.text);
    }
}

}  // namespace
