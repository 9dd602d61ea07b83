#include "RowKeys.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelorin {
namespace {

TEST(RowKeys, ByRecordNumberAndByTimeFindTheRowNearAPlace) {
    const RowKeys numbers = RowKeys::ByRecordNumber(5);
    EXPECT_EQ(numbers.keys(), (std::vector<double>{1, 2, 3, 4, 5}));
    EXPECT_EQ(numbers.wholeRange(), (std::pair{0.5, 5.5}));
    EXPECT_EQ(RowKeys().wholeRange(), (std::pair{0.5, 1.5}));

    // One a minute, a gap, a reboot, and two records with the same counter.
    const RowKeys times = RowKeys::ByTime(std::vector<double>{1000, 1060, 1240, 30, 90, 90});
    ASSERT_EQ(times.keys().size(), 6u);
    EXPECT_EQ(times.step(), 60);
    EXPECT_DOUBLE_EQ(times.barWidth(), kBarShare * 60);
    ASSERT_NE(times.timeAxis(), nullptr);
    EXPECT_EQ(times.keys(), times.timeAxis()->positions());
    EXPECT_EQ(times.wholeRange(), (std::pair{-30.0, times.keys().back() + 30}));

    const double fourth = times.keys()[3];
    const struct {
        const RowKeys& keys;
        double x;
        double tolerance;
        int row;
    } cases[] = {{numbers, 2.4, 0.5, 2},      {numbers, 2.5, 0.5, 2}, {numbers, 2.6, 0.5, 3},
                 {numbers, 0.4, 0.5, 0},      {numbers, 5.6, 0.5, 0}, {numbers, 9, 10, 5},
                 {times, 59, 30, 2},          {times, 150, 30, 0},    {times, fourth - 5, 30, 4},
                 {times, fourth + 60, 30, 5}, {RowKeys(), 1, 1, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.keys.rowNear(c.x, c.tolerance), c.row) << c.x;
    }
    EXPECT_EQ(numbers.keyOf(3), 3);
    EXPECT_EQ(numbers.keyOf(6), std::nullopt);
    EXPECT_EQ(numbers.rowsIn(1.6, 4.4), (std::pair{2, 4}));
    EXPECT_EQ(numbers.rowsIn(2.1, 2.9), std::nullopt);
}

}  // namespace
}  // namespace pelorin
