#include "pelorin/elapsed_time.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace {

struct TimeCase {
    std::int32_t seconds;
    const char* text;
    const char* shortText;  // the chart label: the same without the seconds
};

void PrintTo(const TimeCase& c, std::ostream* os) {
    *os << c.seconds;
}

class SecToTimeTable : public testing::TestWithParam<TimeCase> {};

TEST_P(SecToTimeTable, GivesPublishedText) {
    EXPECT_EQ(pelorin::SecToTime(GetParam().seconds), GetParam().text);
    EXPECT_EQ(pelorin::SecToShortTime(GetParam().seconds), GetParam().shortText);
}

INSTANTIATE_TEST_SUITE_P(PublishedCases, SecToTimeTable,
                         testing::Values(TimeCase{0, "0d 00:00:00", "0d 00:00"},
                                         TimeCase{59, "0d 00:00:59", "0d 00:00"},
                                         TimeCase{60, "0d 00:01:00", "0d 00:01"},
                                         TimeCase{3599, "0d 00:59:59", "0d 00:59"},
                                         TimeCase{3600, "0d 01:00:00", "0d 01:00"},
                                         TimeCase{86399, "0d 23:59:59", "0d 23:59"},
                                         TimeCase{86400, "1d 00:00:00", "1d 00:00"},
                                         TimeCase{93784, "1d 02:03:04", "1d 02:03"},
                                         TimeCase{2147483647, "24855d 03:14:07", "24855d 03:14"},
                                         TimeCase{-1, "-1d 23:59:59", "-1d 23:59"},
                                         TimeCase{-86400, "-1d 00:00:00", "-1d 00:00"},
                                         TimeCase{-86401, "-2d 23:59:59", "-2d 23:59"},
                                         TimeCase{INT32_MIN, "-24856d 20:45:52", "-24856d 20:45"}));

}  // namespace
