#include "TimeAxis.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace pelorin {
namespace {

constexpr double kDay = 86400;

// `count` counters every `step` seconds from `first`, after those in `before`.
std::vector<double> Pass(double first, int count, double step = 60,
                         std::vector<double> before = {}) {
    for (int i = 0; i < count; ++i) {
        before.push_back(first + i * step);
    }
    return before;
}

TEST(TimeAxis, GapsStayEmptyAndRebootsStartSegmentsAfterABreak) {
    const TimeAxis axis(std::vector<double>{1000, 1060, 1120, 1300, 1360, 30, 90, 90});
    EXPECT_EQ(axis.breakWidth(), 300);  // five typical steps: 2 % of 420 s is less
    EXPECT_EQ(axis.positions(), (std::vector<double>{0, 60, 120, 300, 360, 660, 720, 720}));
    ASSERT_EQ(axis.segmentStarts().size(), 1u);
    EXPECT_EQ(axis.segmentStarts()[0].x, 510);
    EXPECT_EQ(SegmentStartText(axis.segmentStarts()[0]),
              "New segment from record 6: the time counter went back from 0d 00:22:40 to "
              "0d 00:00:30");
    EXPECT_EQ(axis.counterAt(200), 1200);  // in the gap: still the segment
    EXPECT_EQ(axis.counterAt(381), 1381);  // half a bar (21 s) beyond the segment's end
    EXPECT_EQ(axis.counterAt(382), std::nullopt);
    EXPECT_EQ(axis.labelAt(700), "0d 00:01");
    EXPECT_EQ(axis.labelAt(510), "");

    const TimeAxis longPass(Pass(0, 2, 60, Pass(0, 2, 10 * kDay)));
    EXPECT_EQ(longPass.breakWidth(), 17282);  // 2 % of 10 days and a minute, rounded up
    EXPECT_EQ(longPass.positions()[2], 10 * kDay + 17282);
    const double lowest = std::numeric_limits<std::int32_t>::min();
    const double highest = std::numeric_limits<std::int32_t>::max();
    const TimeAxis wrapped(std::vector<double>{highest - 60, highest, lowest, lowest + 60});
    EXPECT_EQ(wrapped.positions(), (std::vector<double>{0, 60, 360, 420}));
    EXPECT_EQ(wrapped.labelAt(390), "-24856d 20:46");
}

TEST(TimeAxis, BarWidthFollowsTheTypicalStep) {
    // None, one, all equal, a huge gap, a pass then lone records, one record a pass.
    const std::pair<std::vector<double>, double> cases[] = {{{}, 42},
                                                            {{3499625}, 42},
                                                            {{7, 7, 7}, 42},
                                                            {{0, 60, 120, 180, 2e9}, 42},
                                                            {{0, 60, 120, 9060, 18000, 26940}, 42},
                                                            {Pass(0, 5, 6000), 4200}};
    for (const auto& [counters, barWidth] : cases) {
        EXPECT_DOUBLE_EQ(TimeAxis(counters).barWidth(), barWidth) << counters.size();
    }
}

TEST(TimeAxis, TicksStandOnNiceStepsInsideSegments) {
    // 40d 13:00:30 to 14:00:30, a reboot, then ten minutes from zero.
    const TimeAxis axis(Pass(0, 11, 60, Pass(40 * kDay + 13 * 3600 + 30, 61)));
    const double whole = axis.positions().back();
    std::vector<std::string> labels;
    for (double x : axis.ticks(0, whole, 5)) {
        labels.push_back(axis.labelAt(x));
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"40d 13:15", "40d 13:30", "40d 13:45", "40d 14:00",
                                                "0d 00:00"}));
    EXPECT_EQ(axis.ticks(0, whole, 70).size(), 71u);      // one a minute
    EXPECT_TRUE(axis.ticks(3700, 3800, 5).empty());       // in the break
    const TimeAxis single(std::vector<double>{3499625});  // no whole minute: its start
    EXPECT_EQ(single.ticks(-100, 100, 5), (std::vector<double>{0}));
    EXPECT_EQ(single.labelAt(0), "40d 12:07");

    const std::pair<double, double> steps[] = {
        {61, 120}, {1000, 1800}, {kDay + 1, 2 * kDay}, {11 * kDay, 20 * kDay}};
    for (const auto& [seconds, step] : steps) {
        EXPECT_EQ(NiceTimeStep(seconds), step) << seconds;
    }
}

}  // namespace
}  // namespace pelorin
