#include "pelorin/limits.h"
#include "pelorin/number_text.h"
#include "pelorin/value_info.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace {

using pelorin::LimitsLoad;
using pelorin::ValueLimits;

constexpr std::nullopt_t kNone = std::nullopt;

TEST(ParseLimits, NamesTheBadLineAndKeepsTheGoodEntries) {
    struct Case {
        const char* text;  // after a good [value4] group of two lines
        int line;
        const char* what;
        double low = 4.75;  // of [value4]
    };
    const Case cases[] = {{"[value35]\nlow=1", 3, "unknown group [value35]"},
                          {"[value-3]\nlow=1", 3, "unknown group [value-3]"},
                          {"[value-100000000]\nlow=1", 3, "unknown group [value-100000000]"},
                          {"[value+5]\nlow=1", 3, "unknown group [value+5]"},
                          {"[value 5]\nlow=1", 3, "unknown group [value 5]"},
                          {"[value4]\nlow=4.8", 4, "key low repeats the one on line 2", 4.8},
                          {"[value5\nlow=1", 3, "unknown group [value5"},
                          {"[busvolt_avg]\nlow=1", 3, "unknown group [busvolt_avg]"},
                          {"lo=4", 3, "unknown key lo"},
                          {"high=5,25", 3, "\"5,25\" is not a number"},
                          {"high=inf", 3, "\"inf\" is not a number"},
                          {"\nhigh 5.25", 4, "neither"},
                          {"[value5]\nhigh=1\n\nlow=2", 6, "low 2 is above high 1"}};
    for (const Case& c : cases) {
        for (const std::string lineEnd : {"\n", "\r\n", "\r"}) {
            std::string text = "[value4]\nlow=4.75\n" + std::string(c.text) + "\n";
            for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos;) {
                text.replace(at, 1, lineEnd);
                at += lineEnd.size();
            }
            const LimitsLoad load = pelorin::ParseLimits(text);
            ASSERT_EQ(load.warnings.size(), 1u) << text;
            EXPECT_EQ(load.warnings[0].line, c.line) << text;
            EXPECT_NE(load.warnings[0].what.find(c.what), std::string::npos) << text;
            pelorin::LimitTable expected{};
            expected[4] = {c.low, kNone};
            EXPECT_EQ(load.limits, expected) << text;
        }
    }
    EXPECT_EQ(pelorin::FormatLimitsWarning("limits.ini", {3, "unknown key lo"}),
              "limits.ini:3: unknown key lo");
    EXPECT_EQ(pelorin::FormatLimitsWarning("/x/limits.ini", {0, "cannot be read"}),
              "/x/limits.ini: cannot be read");
}

TEST(ParseLimits, TakesTheColumnNamesAsGroupsBesideValueN) {
    std::string text;
    for (int index = 0; index < pelorin::kShownValues; ++index) {
        const std::string group = index % 2 == 0 ? std::string(pelorin::InfoOf(index).column)
                                                 : "value" + pelorin::FormatInteger(index);
        text += "[" + group + "]\nhigh=" + pelorin::FormatInteger(index) + "\n";
    }
    const LimitsLoad load = pelorin::ParseLimits(text);
    EXPECT_TRUE(load.warnings.empty());
    for (int index = 0; index < pelorin::kShownValues; ++index) {
        EXPECT_EQ(load.limits[index], (ValueLimits{kNone, index})) << index;
    }
}

TEST(LoadLimitsFile, ReadsTheSampleAndRefusesWhatIsNoLimitsFile) {
    const LimitsLoad sample = pelorin::LoadLimitsFile(PELORIN_SAMPLES_DIR "/limits.ini");
    EXPECT_TRUE(sample.warnings.empty());
    for (int index = 0; index < pelorin::kShownValues; ++index) {
        const ValueLimits expected = index >= 1 && index <= 4   ? ValueLimits{4.75, 5.25}
                                     : index >= 5 && index <= 8 ? ValueLimits{3.135, 3.465}
                                                                : ValueLimits{};
        EXPECT_EQ(sample.limits[index], expected) << index;
    }
    EXPECT_TRUE(pelorin::LoadLimitsFile(PELORIN_SAMPLES_DIR "/no-such-file.ini").missing);
    // A folder, a file far larger than any limits file, a FIFO, a loop of links and UTF-16
    // text are each refused once, as a whole.
    const TempFolder folder;
    const std::filesystem::path fifo = folder.path() / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::filesystem::path loop = folder.path() / "loop.ini";
    std::filesystem::create_symlink(loop, loop);
    const std::filesystem::path utf16 = folder.path() / "utf16.ini";
    std::ofstream(utf16, std::ios::binary) << std::string("\xFF\xFE[\0v\0]\0\n\0", 10);
    const std::pair<std::filesystem::path, const char*> refused[] = {
        {PELORIN_SAMPLES_DIR, "not a regular file"},
        {PELORIN_SAMPLES_DIR "/long-pass.txt", "larger than 64 KiB"},
        {fifo, "not a regular file"},
        {loop, "loop of symbolic links"},
        {utf16, "UTF-16"}};
    for (const auto& [path, what] : refused) {
        const LimitsLoad load = pelorin::LoadLimitsFile(path);
        ASSERT_EQ(load.warnings.size(), 1u) << path;
        EXPECT_EQ(load.warnings[0].line, 0);
        EXPECT_NE(load.warnings[0].what.find(what), std::string::npos) << load.warnings[0].what;
        EXPECT_FALSE(load.missing);
    }
}

TEST(OutOfLimits, OnlyBeyondABoundEqualIsInside) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const ValueLimits rail{4.75, 5.25};
    const struct {
        double value;
        ValueLimits limits;
        bool out;
    } cases[] = {{4.75, rail, false},
                 {5.25, rail, false},
                 {std::nextafter(4.75, 0), rail, true},
                 {std::nextafter(5.25, 9), rail, true},
                 {nan, {}, false},
                 {nan, {kNone, 5.25}, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(pelorin::IsOutOfLimits(c.value, c.limits), c.out) << c.value;
    }
    pelorin::LimitTable limits{};
    limits[0] = {0, kNone};
    limits[4] = rail;
    limits[34] = {kNone, 10};
    pelorin::TelemetryRecord record{0, 0, 0, 0, 5.25};
    EXPECT_FALSE(pelorin::AnyOutOfLimits(record, limits));
    record = {-1, 0, 0, 0, 5.3};
    record[34] = 11;
    EXPECT_EQ(pelorin::OutOfLimitsValues(record, limits), (std::vector<int>{0, 4, 34}));
    EXPECT_TRUE(pelorin::AnyOutOfLimits(record, limits));
}

TEST(LimitsFilePath, FollowsTheBaseDirectoryRules) {
    const struct {
        const char* xdgConfigHome;
        const char* home;
        const char* path;
    } cases[] = {{"/cfg", "/home/u", "/cfg/pelorin/limits.ini"},
                 {"", "/home/u", "/home/u/.config/pelorin/limits.ini"},
                 {"cfg", "/home/u", "/home/u/.config/pelorin/limits.ini"},
                 {"cfg", "home", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(pelorin::LimitsFilePath(c.xdgConfigHome, c.home).string(), c.path);
    }
}

}  // namespace
