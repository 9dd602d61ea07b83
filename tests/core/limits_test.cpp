#include "pelorin/limits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace {

using pelorin::LimitsLoad;
using pelorin::ValueLimits;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ParseLimits, ReadsWhatQSettingsReads) {
    // BOM, CR LF, blanks and tabs, inline ";" comment, quotes, "+", exponent, negatives, a
    // key given twice (the last counts) and a group opened twice (merged).
    const LimitsLoad load = pelorin::ParseLimits(
        "\xEF\xBB\xBF; rails\r\n# note\r\n\r\n  [ value4 ] ; 5 V\r\n low = 4.75 \r\n"
        "high\t=\t5.25 ; V\r\n[value9]\r\nlow=\"-12.5\"\r\nhigh=+1e2\r\nhigh=40\r\n"
        "[value0]\r\nhigh=86400\r\n[value4]\r\nlow=4.8\r\n");
    EXPECT_TRUE(load.warnings.empty());
    pelorin::LimitTable expected{};
    expected[0] = {std::nullopt, 86400};
    expected[4] = {4.8, 5.25};
    expected[9] = {-12.5, 40};
    EXPECT_EQ(load.limits, expected);
}

struct MalformedCase {
    const char* text;  // follows a good [value4] group of two lines
    int line;
    const char* what;
};

void PrintTo(const MalformedCase& c, std::ostream* os) {
    *os << c.text;
}

class MalformedLimits : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedLimits, NamesTheLineAndKeepsTheGoodEntries) {
    for (const char* lineEnd : {"\n", "\r\n", "\r"}) {
        std::string text = std::string("[value4]") + lineEnd + "low=4.75" + lineEnd;
        for (const char* c = GetParam().text; *c != '\0'; ++c) {
            text += *c == '\n' ? std::string(lineEnd) : std::string(1, *c);
        }
        const LimitsLoad load = pelorin::ParseLimits(text);
        ASSERT_EQ(load.warnings.size(), 1u) << text;
        EXPECT_EQ(load.warnings[0].line, GetParam().line);
        EXPECT_NE(load.warnings[0].what.find(GetParam().what), std::string::npos)
            << load.warnings[0].what;
        EXPECT_EQ(load.limits[4], (ValueLimits{4.75, std::nullopt}));
        for (int index : {0, 5, 33, 34}) {
            EXPECT_EQ(load.limits[index], ValueLimits{}) << index;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MalformedLimits,
    testing::Values(MalformedCase{"[value35]\nlow=1\n", 3, "unknown group [value35]"},
                    MalformedCase{"[value05]\nlow=1\n", 3, "unknown group [value05]"},
                    MalformedCase{"[Value5]\nlow=1\n", 3, "unknown group [Value5]"},
                    MalformedCase{"[value5\nlow=1\n", 3, "unknown group [value5"},
                    MalformedCase{"[value5] x\nlow=1\n", 3, "unknown group"},
                    MalformedCase{"lo=4\n", 3, "unknown key lo"},
                    MalformedCase{"high=5,25\n", 3, "\"5,25\" is not a number"},
                    MalformedCase{"high=\n", 3, "\"\" is not a number"},
                    MalformedCase{"high=inf\n", 3, "not a number"},
                    MalformedCase{"high=nan\n", 3, "not a number"},
                    MalformedCase{"high=5 # V\n", 3, "not a number"},
                    MalformedCase{"high=0x5\n", 3, "not a number"},
                    MalformedCase{"\nhigh 5.25\n", 4, "neither"},
                    MalformedCase{"=5\n", 3, "neither"},
                    MalformedCase{"[value34]\nhigh=1\nlow=2\n", 5, "low 2 is above high 1"},
                    MalformedCase{"[value5]\nlow=4\n\nhigh=3\n", 6, "low 4 is above high 3"}));

TEST(ParseLimits, ReportsKeysBeforeTheFirstGroupAndNamesTheFile) {
    const LimitsLoad load = pelorin::ParseLimits("low=1\n[value2]\nhigh=3\n");
    ASSERT_EQ(load.warnings.size(), 1u);
    EXPECT_EQ(pelorin::FormatLimitsWarning("limits.ini", load.warnings[0]),
              "limits.ini:1: key low stands before the first [valueN] group");
    EXPECT_EQ(load.limits[2], (ValueLimits{std::nullopt, 3}));
    EXPECT_EQ(pelorin::FormatLimitsWarning("/x/limits.ini", {0, "cannot be read"}),
              "/x/limits.ini: cannot be read");
}

TEST(LoadLimitsFile, ReadsTheSampleWithTheTwoRails) {
    const LimitsLoad load = pelorin::LoadLimitsFile(PELORIN_SAMPLES_DIR "/limits.ini");
    EXPECT_FALSE(load.missing);
    EXPECT_TRUE(load.warnings.empty());
    for (int index = 0; index < pelorin::kShownValues; ++index) {
        const ValueLimits expected = index >= 1 && index <= 4   ? ValueLimits{4.75, 5.25}
                                     : index >= 5 && index <= 8 ? ValueLimits{3.135, 3.465}
                                                                : ValueLimits{};
        EXPECT_EQ(load.limits[index], expected) << index;
    }
}

TEST(LoadLimitsFile, RefusesWhatIsNoLimitsFile) {
    EXPECT_TRUE(pelorin::LoadLimitsFile(PELORIN_SAMPLES_DIR "/no-such-file.ini").missing);
    for (const char* path : {PELORIN_SAMPLES_DIR, PELORIN_SAMPLES_DIR "/long-pass.txt"}) {
        const LimitsLoad load = pelorin::LoadLimitsFile(path);
        EXPECT_FALSE(load.missing);
        ASSERT_EQ(load.warnings.size(), 1u) << path;
        EXPECT_EQ(load.warnings[0].line, 0);
        EXPECT_EQ(load.limits, pelorin::LimitTable{});
    }
}

struct DecisionCase {
    double value;
    ValueLimits limits;
    bool out;
};

void PrintTo(const DecisionCase& c, std::ostream* os) {
    *os << c.value;
}

class OutOfLimits : public testing::TestWithParam<DecisionCase> {};

TEST_P(OutOfLimits, OnlyBeyondABound) {
    EXPECT_EQ(pelorin::IsOutOfLimits(GetParam().value, GetParam().limits), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, OutOfLimits,
                         testing::Values(DecisionCase{4.75, {4.75, 5.25}, false},
                                         DecisionCase{5.25, {4.75, 5.25}, false},
                                         DecisionCase{std::nextafter(4.75, 0), {4.75, 5.25}, true},
                                         DecisionCase{std::nextafter(5.25, 9), {4.75, 5.25}, true},
                                         DecisionCase{-1e300, {std::nullopt, 5.25}, false},
                                         DecisionCase{1e300, {4.75, std::nullopt}, false},
                                         DecisionCase{-kInf, {4.75, std::nullopt}, true},
                                         DecisionCase{kInf, {4.75, 5.25}, true},
                                         DecisionCase{kNaN, {}, false},
                                         DecisionCase{kNaN, {std::nullopt, 5.25}, true},
                                         DecisionCase{kNaN, {4.75, std::nullopt}, true}));

TEST(OutOfLimits, ListsTheValueIndicesOfARecord) {
    pelorin::LimitTable limits{};
    limits[0] = {0, std::nullopt};
    limits[4] = {4.75, 5.25};
    limits[34] = {std::nullopt, 10};
    pelorin::TelemetryRecord record{};
    record[4] = 5.25;
    record[35] = -1e9;  // no limit can be set for the unshown value
    EXPECT_TRUE(pelorin::OutOfLimitsValues(record, limits).empty());
    EXPECT_FALSE(pelorin::AnyOutOfLimits(record, limits));
    record[0] = -1;
    record[4] = 5.3;
    record[34] = 11;
    EXPECT_EQ(pelorin::OutOfLimitsValues(record, limits), (std::vector<int>{0, 4, 34}));
    EXPECT_TRUE(pelorin::AnyOutOfLimits(record, limits));
}

struct PathCase {
    const char* xdgConfigHome;
    const char* home;
    const char* path;
};

class LimitsPath : public testing::TestWithParam<PathCase> {};

TEST_P(LimitsPath, FollowsTheBaseDirectoryRules) {
    EXPECT_EQ(pelorin::LimitsFilePath(GetParam().xdgConfigHome, GetParam().home).string(),
              GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, LimitsPath,
    testing::Values(PathCase{"/cfg", "/home/u", "/cfg/pelorin/limits.ini"},
                    PathCase{"/cfg/", "", "/cfg/pelorin/limits.ini"},
                    PathCase{"", "/home/u", "/home/u/.config/pelorin/limits.ini"},
                    PathCase{"cfg", "/home/u", "/home/u/.config/pelorin/limits.ini"},
                    PathCase{"", "", ""}, PathCase{"cfg", "home", ""}));

}  // namespace
