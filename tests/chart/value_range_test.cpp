#include "ValueRange.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace pelorin {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr auto kFit = ValueScale::FitToValues;
constexpr auto kZero = ValueScale::StartAtZero;

TEST(FitValueRange, ShowsTheValuesWithAMarginAndZeroWhenClose) {
    const struct {
        std::vector<double> values;
        ValueScale scale;
        bool whole;
        ValueRange expected;
    } cases[] = {
        // Bus voltage far from zero; close to zero; a gap of half the spread joins, just over
        // half does not.
        {{7.6, 8.1, 7.9}, kFit, false, {7.575, 8.125}},
        {{0.2, 3}, kFit, false, {0, 3.15}},
        {{1, 3}, kFit, false, {0, 3.15}},
        {{1.01, 3}, kFit, false, {0.9105, 3.0995}},
        {{-3, -0.2}, kFit, false, {-3.15, 0}},
        {{0, 0}, kFit, false, {0, 1}},
        {{kNaN, 7.6, kInf, 8.1, -kInf}, kFit, false, {7.575, 8.125}},
        {{kNaN}, kFit, false, {0, 1}},
        {{7.6, 8.1}, kZero, false, {0, 8.505}},
        {{-3, -1}, kZero, false, {-3.15, 0}},
        // Nominal-mode minutes, error counts, a constant count.
        {{6192, 6347}, kFit, true, {6184, 6355}},
        {{0, 12, 3}, kFit, true, {0, 13}},
        {{5, 5}, kFit, true, {4, 6}}};
    for (const auto& c : cases) {
        const ValueRange range = FitValueRange(c.values, c.scale, c.whole);
        EXPECT_NEAR(range.lower, c.expected.lower, 1e-12) << c.values.front();
        EXPECT_NEAR(range.upper, c.expected.upper, 1e-12) << c.values.front();
    }
}

TEST(NiceTickStep, IsOneTwoOrFiveTimesAPowerOfTenAndWholeWhenAsked) {
    const struct {
        double lower, upper;
        int wanted;
        bool whole;
        double step;
    } cases[] = {{7.575, 8.125, 5, false, 0.2}, {0, 10, 4, false, 2.5},
                 {0, 10, 4, true, 5},           {0, 1, 5, true, 1},
                 {6184, 6355, 5, true, 50},     {0, 100, 4, true, 25},
                 {0, 1e-6, 5, false, 2e-7},     {5, 5, 5, false, 1},
                 {kNaN, 1, 5, false, 1}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(NiceTickStep(c.lower, c.upper, c.wanted, c.whole), c.step)
            << c.lower << ".." << c.upper << " in " << c.wanted;
    }
}

}  // namespace
}  // namespace pelorin
