#include <gtest/gtest.h>

#include <vector>

#include "chart/CategorySpacing.h"

namespace pelorin {
namespace {

struct SpacingCase {
    int every;
    double visibleSpan;
    double wholeSpan;
    double minSpacing;
    int expected;
};

class VisibleSpacingTest : public ::testing::TestWithParam<SpacingCase> {};

TEST_P(VisibleSpacingTest, KeepsTheGridOfTheAskedSpacing) {
    const SpacingCase& c = GetParam();
    EXPECT_EQ(VisibleCategorySpacing(c.every, c.visibleSpan, c.wholeSpan, c.minSpacing),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VisibleSpacingTest,
    ::testing::Values(SpacingCase{50, 1000, 1000, 0, 50},  // whole range: as asked
                      SpacingCase{8, 150, 150, 0, 8}, SpacingCase{5, 101, 101, 0, 5},
                      SpacingCase{50, 500, 1000, 0, 25},  // zoomed in: a divisor of 50
                      SpacingCase{50, 300, 1000, 0, 25}, SpacingCase{50, 70, 1000, 0, 5},
                      SpacingCase{50, 10, 1000, 0, 1}, SpacingCase{7, 50, 100, 0, 7},
                      SpacingCase{50, 1000, 1000, 60, 100},  // labels too wide: multiples
                      SpacingCase{50, 1000, 1000, 120, 150}, SpacingCase{1, 100, 100, 2.5, 3},
                      SpacingCase{50, 70, 1000, 4, 5},  // zoomed, yet wide labels
                      SpacingCase{0, 10, 10, 0, 1}, SpacingCase{-3, 10, 10, 0, 1}));

TEST(CategorySpacing, FixedAboveOneHundredRecordsRoundedHalfToEven) {
    const std::pair<int, std::optional<int>> cases[] = {
        {1, std::nullopt}, {50, std::nullopt}, {100, std::nullopt}, {101, 5},   {110, 6}, {130, 6},
        {150, 8},          {170, 8},           {999, 50},           {1000, 50},
    };
    for (const auto& [records, spacing] : cases) {
        EXPECT_EQ(FixedCategorySpacing(records), spacing) << records;
    }
}

TEST(SpacedCategories, StartAtTheFirstCategoryInView) {
    std::vector<int> every50;
    for (int category = 1; category <= 951; category += 50) {
        every50.push_back(category);
    }
    EXPECT_EQ(SpacedCategories(50, 0.5, 1000.5, 1000), every50);
    EXPECT_EQ(
        SpacedCategories(5, 400, 470, 1000),
        (std::vector<int>{401, 406, 411, 416, 421, 426, 431, 436, 441, 446, 451, 456, 461, 466}));
    EXPECT_EQ(SpacedCategories(8, 141.2, 150.5, 150), (std::vector<int>{145}));
}

TEST(SpacedCategories, StayInsideTheRows) {
    EXPECT_EQ(SpacedCategories(1, 0.5, 1.5, 1), (std::vector<int>{1}));
    EXPECT_EQ(SpacedCategories(2, -10, 100, 5), (std::vector<int>{1, 3, 5}));
    EXPECT_TRUE(SpacedCategories(3, 0.5, 10.5, 0).empty());
    EXPECT_TRUE(SpacedCategories(3, 20, 30, 10).empty());
    EXPECT_EQ(SpacedCategories(0, 0.5, 3.5, 3), (std::vector<int>{1, 2, 3}));
}

}  // namespace
}  // namespace pelorin
