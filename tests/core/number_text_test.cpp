#include "pelorin/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace {

struct TextCase {
    double value;
    const char* point;  // with "." as separator; "," replaces it under a comma locale
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.point;
}

std::string withComma(std::string text) {
    for (char& c : text) {
        if (c == '.') {
            c = ',';
        }
    }
    return text;
}

class Fixed3 : public testing::TestWithParam<TextCase> {};

TEST_P(Fixed3, PatternWithBothSeparators) {
    EXPECT_EQ(pelorin::FormatFixed3(GetParam().value, "."), GetParam().point);
    EXPECT_EQ(pelorin::FormatFixed3(GetParam().value, ","), withComma(GetParam().point));
}

INSTANTIATE_TEST_SUITE_P(
    Values, Fixed3,
    testing::Values(TextCase{0.0, "0.000"}, TextCase{12.34567, "12.346"},
                    TextCase{4.995032, "4.995"}, TextCase{-0.4355400696864112, "-0.436"},
                    TextCase{5.0026720000000005, "5.003"}, TextCase{-413.7142857, "-413.714"},
                    TextCase{0.0004, "0.000"}, TextCase{-0.0004, "0.000"}, TextCase{-0.0, "0.000"},
                    TextCase{1234567.0, "1234567.000"}, TextCase{0.9996, "1.000"},
                    TextCase{171.28571428571428, "171.286"}));

class General : public testing::TestWithParam<TextCase> {};

TEST_P(General, ShortestGeneralTextWithBothSeparators) {
    EXPECT_EQ(pelorin::FormatGeneral(GetParam().value, "."), GetParam().point);
    EXPECT_EQ(pelorin::FormatGeneral(GetParam().value, ","), withComma(GetParam().point));
}

INSTANTIATE_TEST_SUITE_P(
    Values, General,
    testing::Values(
        TextCase{0.0, "0"}, TextCase{-0.0, "0"}, TextCase{5.0, "5"}, TextCase{12.0, "12"},
        TextCase{-0.5, "-0.5"}, TextCase{0.1, "0.1"}, TextCase{5.0026720000000005, "5.002672"},
        TextCase{0.12864768000000001, "0.12864768"},
        TextCase{4.285714285714286, "4.28571428571429"},
        TextCase{-0.4355400696864112, "-0.435540069686411"}, TextCase{123456.0, "123456"},
        TextCase{2147483647.0, "2147483647"}, TextCase{-2147483648.0, "-2147483648"},
        TextCase{0.001, "0.001"}, TextCase{0.0001, "0.0001"}, TextCase{0.00001, "1E-05"},
        TextCase{1.5e-7, "1.5E-07"}, TextCase{999999999999999.0, "999999999999999"},
        TextCase{1e15, "1E+15"}, TextCase{1.23456789012345678e20, "1.23456789012346E+20"},
        TextCase{9.9999999999999995, "10"}, TextCase{1e-300, "1E-300"}, TextCase{65535.0, "65535"},
        TextCase{100.25, "100.25"}));

TEST(General, NonFiniteValuesHaveAText) {
    EXPECT_EQ(pelorin::FormatGeneral(std::numeric_limits<double>::quiet_NaN(), "."), "NaN");
    EXPECT_EQ(pelorin::FormatGeneral(-std::numeric_limits<double>::infinity(), "."), "-Inf");
}

TEST(General, MultiByteSeparatorIsUsedAsGiven) {
    EXPECT_EQ(pelorin::FormatGeneral(-0.5, "\xD9\xAB"),
              "-0\xD9\xAB"
              "5");
    EXPECT_EQ(pelorin::FormatFixed3(1.5, "\xD9\xAB"),
              "1\xD9\xAB"
              "500");
}

struct RoundCase {
    double value;
    std::int32_t rounded;
};

void PrintTo(const RoundCase& c, std::ostream* os) {
    *os << c.value;
}

class RoundHalfEven : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEven, ToNearestTiesToEven) {
    EXPECT_EQ(pelorin::RoundHalfEven32(GetParam().value), GetParam().rounded);
}

INSTANTIATE_TEST_SUITE_P(Values, RoundHalfEven,
                         testing::Values(RoundCase{2.5, 2}, RoundCase{3.5, 4}, RoundCase{-7.0, -7},
                                         RoundCase{-2.5, -2}, RoundCase{0.5, 0}, RoundCase{1.5, 2},
                                         RoundCase{2.4999999, 2}, RoundCase{2.5000001, 3},
                                         RoundCase{65535.0, 65535},
                                         RoundCase{2147483647.0, INT32_MAX},
                                         RoundCase{-2147483648.0, INT32_MIN},
                                         RoundCase{1e12, INT32_MAX}, RoundCase{-1e12, INT32_MIN},
                                         RoundCase{std::numeric_limits<double>::quiet_NaN(), 0}));

TEST(FormatInteger, PlainDecimal) {
    EXPECT_EQ(pelorin::FormatInteger(0), "0");
    EXPECT_EQ(pelorin::FormatInteger(-17), "-17");
    EXPECT_EQ(pelorin::FormatInteger(1000000), "1000000");
}

TEST(CountText, SingularOnlyForOne) {
    EXPECT_EQ(pelorin::CountText(1, "line"), "1 line");
    EXPECT_EQ(pelorin::CountText(0, "line"), "0 lines");
    EXPECT_EQ(pelorin::CountText(2, "telemetry line"), "2 telemetry lines");
    EXPECT_EQ(pelorin::CountText(-1, "entry", "entries"), "-1 entries");
    EXPECT_EQ(pelorin::CountText(1, "line was", "lines were"), "1 line was");
}

TEST(FormatShortest, RoundTripsEveryBit) {
    for (const double v : {0.1, 5.0026720000000005, -3.4843205574912894, 1e-300, 123456.0}) {
        EXPECT_EQ(std::stod(pelorin::FormatShortest(v)), v);
    }
    EXPECT_EQ(pelorin::FormatShortest(-2.0), "-2");
}

}  // namespace
