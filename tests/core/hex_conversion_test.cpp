#include "pelorin/hex_conversion.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct HexCase {
    const char* text;
    std::int32_t dec;
    std::int32_t unsign;
};

void PrintTo(const HexCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class HexTable : public testing::TestWithParam<HexCase> {};

TEST_P(HexTable, BothConversionsInEveryTextType) {
    const HexCase& c = GetParam();
    const std::string narrow = c.text;
    const std::u16string wide(narrow.begin(), narrow.end());
    const std::u32string full(narrow.begin(), narrow.end());
    EXPECT_EQ(pelorin::HexToDec(narrow), c.dec);
    EXPECT_EQ(pelorin::HexToDec(wide), c.dec);
    EXPECT_EQ(pelorin::HexToDec(full), c.dec);
    EXPECT_EQ(pelorin::HexToUnsignLong(narrow), c.unsign);
    EXPECT_EQ(pelorin::HexToUnsignLong(wide), c.unsign);
    EXPECT_EQ(pelorin::HexToUnsignLong(full), c.unsign);
}

// The published table of cases, then the choices this implementation makes where it is open.
INSTANTIATE_TEST_SUITE_P(PublishedCases, HexTable,
                         testing::Values(HexCase{"", 0, 0}, HexCase{"FF", 255, 255},
                                         HexCase{"FFF", 4095, 4095}, HexCase{"7FFF", 32767, 32767},
                                         HexCase{"8000", -32768, 32768}, HexCase{"FFFF", -1, 65535},
                                         HexCase{"ff", 255, 255}, HexCase{"0x1F", 31, 31},
                                         HexCase{"&H1F", 31, 31}, HexCase{"1G2", 1, 1},
                                         HexCase{"G12", 0, 0}, HexCase{"00010000", 65536, 65536},
                                         HexCase{"FFFFFFFF", -1, 65535}, HexCase{"0X", 0, 0},
                                         HexCase{"&H", 0, 0}));

INSTANTIATE_TEST_SUITE_P(
    ChosenCases, HexTable,
    testing::Values(HexCase{"00008000", 32768, 32768}, HexCase{"0000FFFF", 65535, 65535},
                    HexCase{"80000000", INT32_MIN, INT32_MIN + 65536},
                    HexCase{"7FFFFFFF", INT32_MAX, INT32_MAX}, HexCase{"0001E240", 123456, 123456},
                    HexCase{"123456789", 0, 0}, HexCase{"000000001", 0, 0}, HexCase{"1 2", 0, 0},
                    HexCase{" 12", 0, 0}, HexCase{"1\t2", 0, 0}, HexCase{"12\n", 0, 0},
                    HexCase{"12\r", 18, 18}, HexCase{"0XFF", 255, 255}, HexCase{"&hff", 255, 255},
                    HexCase{"0", 0, 0}, HexCase{"8", 8, 8}, HexCase{"x12", 0, 0},
                    HexCase{"0x", 0, 0}, HexCase{"FFFFF", 1048575, 1048575},
                    HexCase{"12345", 74565, 74565}));

TEST(HexConversion, NonAsciiCharacterEndsTheDigits) {
    EXPECT_EQ(pelorin::HexToDec(std::u16string(u"1\u00C42")), 1);
    EXPECT_EQ(pelorin::HexToDec(std::u32string(U"\U0001F600")), 0);
    EXPECT_EQ(pelorin::HexToDec(std::string("A\xC3\x84")), 10);  // UTF-8 bytes of an umlaut
    // A full-width digit looks like a digit but is not one.
    EXPECT_EQ(pelorin::HexToDec(std::u16string(u"1\uFF12")), 1);
}

}  // namespace
