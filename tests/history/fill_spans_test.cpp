#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "history/FillSpans.h"

using namespace pelorin::history;

namespace {

constexpr double kBreak = std::numeric_limits<double>::quiet_NaN();

struct FillCase {
    const char* name;
    std::vector<double> x;
    std::vector<double> lower;
    std::vector<double> upper;
    int firstPixel;
    int lastPixel;
    std::vector<FillSpan> spans;
};

void PrintTo(const FillCase& c, std::ostream* os) {
    *os << c.name;
}

class FillSpansTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillSpansTest, EachPixelColumnSpansBothEdges) {
    const FillCase& c = GetParam();
    std::vector<FillSpan> spans;
    FillSpans(c.x, c.lower, c.upper, c.firstPixel, c.lastPixel, spans);
    ASSERT_EQ(spans.size(), c.spans.size());
    for (std::size_t k = 0; k < spans.size(); ++k) {
        EXPECT_EQ(spans[k].pixel, c.spans[k].pixel) << "span " << k;
        EXPECT_DOUBLE_EQ(spans[k].top, c.spans[k].top) << "span " << k;
        EXPECT_DOUBLE_EQ(spans[k].bottom, c.spans[k].bottom) << "span " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, FillSpansTest,
    ::testing::Values(
        // Decimated edges: flat across each column, from just inside its left to its right.
        FillCase{"FlatColumns",
                 {10.001, 10.999, 11.001, 11.999},
                 {50, 50, 40, 40},
                 {20, 20, 30, 30},
                 0,
                 100,
                 {{10, 20, 50}, {11, 30, 40}}},
        // Straight edges between points, read at each column's centre.
        FillCase{"SlopedEdges",
                 {10.5, 14.5},
                 {50, 10},
                 {60, 20},
                 0,
                 100,
                 {{10, 50, 60}, {11, 40, 50}, {12, 30, 40}, {13, 20, 30}, {14, 10, 20}}},
        // Screen y grows downwards: a lower edge above the upper one is still a span.
        FillCase{"EdgesEitherWayRound", {3.2}, {10}, {30}, 0, 100, {{3, 10, 30}}},
        FillCase{"ABreakLeavesTheGapEmpty",
                 {1.5, 2.5, kBreak, 7.5, 8.5},
                 {5, 5, kBreak, 6, 6},
                 {1, 1, kBreak, 2, 2},
                 0,
                 100,
                 {{1, 1, 5}, {2, 1, 5}, {7, 2, 6}, {8, 2, 6}}},
        // The neighbours outside the view are far away: only the visible columns are made.
        FillCase{"FarNeighboursAreCut",
                 {-1e12, 2.5, 1e12},
                 {5, 5, 5},
                 {1, 1, 1},
                 0,
                 3,
                 {{0, 1, 5}, {1, 1, 5}, {2, 1, 5}, {3, 1, 5}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
