#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "frames.h"
#include "pelorin/reception_time.h"

namespace {

struct LineCase {
    std::string before;  // what stands before the marker
    std::optional<std::string> expected;
};

TEST(ReceptionTime, IsReadFromTheStartOfTheLineOnly) {
    const LineCase cases[] = {
        {"2026-12-08T13:25:40Z ", "2026-12-08T13:25:40.000Z"},
        {"2026-12-08T14:25:40+01:00 ", "2026-12-08T13:25:40.000Z"},
        {"2026-12-08T08:55:40-0430 ", "2026-12-08T13:25:40.000Z"},
        {"2026-12-08 13:25:40 W1ABC> ", "2026-12-08T13:25:40.000Z"},
        {"[2026-12-08 13:25:40.25] ", "2026-12-08T13:25:40.250Z"},
        {"  2026-12-08T13:25:40.123456Z:", "2026-12-08T13:25:40.123Z"},
        {"2026-12-09T00:30:00+01:00", "2026-12-08T23:30:00.000Z"},
        {"2028-02-29T12:00:00Z ", "2028-02-29T12:00:00.000Z"},
        {"[23:34:49] ", std::nullopt},            // a time without a date
        {"2026-12-08 ", std::nullopt},            // a date without a time
        {"2026-02-29T12:00:00Z ", std::nullopt},  // no such day
        {"2026-12-08T24:00:00Z ", std::nullopt},
        {"2026-12-08T13:25:401 ", std::nullopt},
        {"[2026-12-08 13:25:40 ", std::nullopt},  // the bracket never closes
        {"W1ABC 2026-12-08T13:25:40Z ", std::nullopt},
        {"", std::nullopt},
    };
    for (const LineCase& c : cases) {
        const auto time = pelorin::ReceptionTimeOfLine(c.before + testframes::line());
        ASSERT_EQ(time.has_value(), c.expected.has_value()) << c.before;
        if (time) {
            EXPECT_EQ(pelorin::FormatUtcTime(*time), *c.expected) << c.before;
        }
    }
    // After the marker a time is part of the frame, and a line without a marker has none.
    EXPECT_FALSE(pelorin::ReceptionTimeOfLine(testframes::line() + " 2026-12-08T13:25:40Z"));
    EXPECT_FALSE(pelorin::ReceptionTimeOfLine("2026-12-08T13:25:40Z beacon"));
}

TEST(ReceptionTime, CommandLineTimesAreWholeDatesOrDateTimes) {
    EXPECT_EQ(pelorin::FormatUtcTime(*pelorin::ParseUtcTime("2026-12-08")),
              "2026-12-08T00:00:00.000Z");
    EXPECT_EQ(pelorin::FormatUtcTime(*pelorin::ParseUtcTime("1999-12-31T23:59:59.999Z")),
              "1999-12-31T23:59:59.999Z");
    for (const char* bad : {"2026-12-08x", "2026-13-01", "[2026-12-08 13:25:40]", "7d", ""}) {
        EXPECT_FALSE(pelorin::ParseUtcTime(bad)) << bad;
    }
}

}  // namespace
