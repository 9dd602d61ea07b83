#include "pelorin/unicode_chars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

template <typename Unit>
std::u32string ReadAll(std::basic_string_view<Unit> rest) {
    std::u32string chars;
    while (!rest.empty()) {
        const pelorin::CharRead read = pelorin::ReadChar(rest);
        chars.push_back(read.codePoint);
        rest.remove_prefix(read.units);
    }
    return chars;
}

const std::vector<std::pair<std::string, std::u32string>> kUtf8Cases = {
    {"a\0\x7F"s, U"a\0\x7F"s},
    {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x9B\xB0", U"\u00E9\u20AC\U0001F6F0"},
    {"\xC0\xAF", U"\uFFFD\uFFFD"},                      // overlong
    {"\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},            // overlong
    {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},            // surrogate
    {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
    {"\xE2\x82", U"\uFFFD\uFFFD"},                      // cut short
    {"\xE2\x82x", U"\uFFFD\uFFFDx"},
    {"\x80\xBF\xF5\xFF", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"\xEF\xBF\xBD", U"\uFFFD"},
};

TEST(ReadChar, Utf8BytesOutsideWellFormedSequencesAreOneCharacterEach) {
    for (const auto& [bytes, chars] : kUtf8Cases) {
        EXPECT_EQ(ReadAll(std::string_view(bytes)), chars) << testing::PrintToString(bytes);
    }
}

TEST(ReadChar, Utf16LoneSurrogatesStandForThemselves) {
    const std::vector<std::pair<std::u16string, std::u32string>> cases = {
        {u"a\u00E9", U"a\u00E9"},
        {u"\xD83D\xDEF0", U"\U0001F6F0"},
        {u"\xD83Dx", U"\xD83Dx"},
        {u"\xDEF0\xD83D", U"\xDEF0\xD83D"},
    };
    for (const auto& [units, chars] : cases) {
        EXPECT_EQ(ReadAll(std::u16string_view(units)), chars);
    }
}

std::u16string ToUtf16(const std::u32string& chars) {
    std::u16string units;
    for (const char32_t c : chars) {
        if (c >= 0x10000) {
            units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(c));
        }
    }
    return units;
}

// Converts `bytes` in two pieces split at `split`, as a reader of blocks does.
std::u16string ConvertInTwoPieces(const std::string& bytes, std::size_t split) {
    std::u16string out(bytes.size(), u'\0');
    const auto first =
        pelorin::Utf8ToUtf16(std::string_view(bytes).substr(0, split), out.data(), false);
    const auto second = pelorin::Utf8ToUtf16(std::string_view(bytes).substr(first.bytesRead),
                                             out.data() + first.unitsWritten, true);
    out.resize(first.unitsWritten + second.unitsWritten);
    return out;
}

TEST(Utf8ToUtf16, ReadsAsReadCharDoesWhereverTheTextIsCutIntoPieces) {
    for (const auto& [bytes, chars] : kUtf8Cases) {
        const std::string text = "x" + bytes + bytes;
        const std::u16string expected = ToUtf16(U"x" + chars + chars);
        for (std::size_t split = 0; split <= text.size(); ++split) {
            EXPECT_EQ(ConvertInTwoPieces(text, split), expected)
                << testing::PrintToString(text) << " split at " << split;
        }
    }
}

}  // namespace
