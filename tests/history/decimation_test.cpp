#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "history/Decimation.h"

using namespace pelorin::history;

namespace {

struct DecimationCase {
    const char* name;
    std::size_t points;
    std::vector<std::size_t> runStarts;
    double viewFrom;  // share of the data's time span
    double viewTo;
    int columns;
    std::size_t runsApart;  // runs in view more than a column apart: each gap breaks the line
    double gap;             // extra time before each run but the first
};

void PrintTo(const DecimationCase& c, std::ostream* os) {
    *os << c.name;
}

// Random walk values at random, strictly rising times.
PlotSeries RandomSeries(const DecimationCase& c, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> step(0.1, 10.0);
    std::normal_distribution<float> change(0.0F, 1.0F);
    auto axis = std::make_shared<SeriesAxis>();
    std::vector<float> values;
    double x = 1000.0;
    float y = 0.0F;
    for (std::size_t k = 0; k < c.points; ++k) {
        x += step(random) +
             (k > 0 && std::binary_search(c.runStarts.begin(), c.runStarts.end(), k) ? c.gap : 0.0);
        // Repeated values now and then, so that ties among the extremes are met too.
        y = k % 7 == 3 ? y : y + change(random);
        axis->x.push_back(x);
        values.push_back(y);
    }
    axis->runStarts = c.runStarts;
    return MakePlotSeries(std::move(axis), std::move(values));
}

using Extremes = std::map<int, std::pair<double, double>>;

void Widen(Extremes& extremes, int column, double y) {
    auto [it, fresh] = extremes.try_emplace(column, y, y);
    it->second.first = std::min(it->second.first, y);
    it->second.second = std::max(it->second.second, y);
}

std::size_t RunOf(const PlotSeries& s, double x) {
    const std::vector<double>& t = s.axis->x;
    const std::vector<std::size_t>& starts = s.axis->runStarts;
    const auto k = static_cast<std::size_t>(std::lower_bound(t.begin(), t.end(), x) - t.begin());
    return static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), k) -
                                    starts.begin());
}

// A run every `length` points.
std::vector<std::size_t> ManyRuns(std::size_t points, std::size_t length) {
    std::vector<std::size_t> starts;
    for (std::size_t k = 0; k < points; k += length) {
        starts.push_back(k);
    }
    return starts;
}

class DecimationTest : public ::testing::TestWithParam<DecimationCase> {};

TEST_P(DecimationTest, EveryColumnShowsTheDataExtremesAndNoLineCrossesAGap) {
    const DecimationCase& c = GetParam();
    const PlotSeries s = RandomSeries(c, 7);
    const std::vector<double>& x = s.axis->x;
    const double span = x.back() - x.front();
    const PixelColumns columns{x.front() + c.viewFrom * span, x.front() + c.viewTo * span,
                               c.columns};
    DrawnPoints drawn;
    Decimate(s, columns, drawn);

    Extremes data;
    for (std::size_t k = 0; k < x.size(); ++k) {
        const int column = columns.of(x[k]);
        if (column >= 0 && column < c.columns) {
            Widen(data, column, s.y[k]);
        }
    }
    Extremes shown;
    std::size_t breaks = 0;
    for (std::size_t k = 0; k < drawn.x.size(); ++k) {
        if (std::isnan(drawn.y[k])) {
            ++breaks;
            continue;
        }
        const int column = columns.of(drawn.x[k]);
        if (column >= 0 && column < c.columns) {
            Widen(shown, column, drawn.y[k]);
        }
        if (k > 0 && !std::isnan(drawn.y[k - 1]) &&
            RunOf(s, drawn.x[k - 1]) != RunOf(s, drawn.x[k])) {
            EXPECT_LE(drawn.x[k] - drawn.x[k - 1], columns.width())
                << "a line crosses a visible gap at " << drawn.x[k];
        }
    }
    EXPECT_EQ(shown, data);
    const std::size_t runsShown =
        drawn.x.empty() ? 0 : RunOf(s, drawn.x.back()) - RunOf(s, drawn.x.front()) + 1;
    EXPECT_EQ(breaks + 1, std::min(runsShown, c.runsApart))
        << "a visible gap left joined, or runs too close to see apart broken";
    // Two points a column, plus the neighbours either side and a break between columns.
    EXPECT_LE(drawn.x.size(), 3 * (static_cast<std::size_t>(c.columns) + 2));

    // A filled range's edges: each column flat at its lowest or highest.
    for (const ColumnPick pick : {ColumnPick::Lowest, ColumnPick::Highest}) {
        DrawnPoints edge;
        Decimate(s, columns, edge, pick);
        Extremes edges;
        for (std::size_t k = 0; k < edge.x.size(); ++k) {
            const int column = columns.of(edge.x[k]);
            if (!std::isnan(edge.y[k]) && column >= 0 && column < c.columns) {
                Widen(edges, column, edge.y[k]);
            }
        }
        ASSERT_EQ(edges.size(), data.size());
        for (const auto& [column, range] : data) {
            const double y = pick == ColumnPick::Lowest ? range.first : range.second;
            EXPECT_EQ(edges[column], std::make_pair(y, y)) << "column " << column;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Views, DecimationTest,
    ::testing::Values(
        DecimationCase{"ManyPointsAColumn", 200000, {0}, 0.0, 1.0, 800, 1, 0.0},
        DecimationCase{"ThousandsOfPointsAColumn", 300000, {0}, 0.0, 1.0, 7, 1, 0.0},
        DecimationCase{"FewerPointsThanColumns", 300, {0}, 0.0, 1.0, 1000, 1, 0.0},
        DecimationCase{"ZoomedIntoTheMiddle", 50000, {0}, 0.42, 0.43, 600, 1, 0.0},
        DecimationCase{"ThreePasses", 30000, {0, 10000, 20000}, 0.0, 1.0, 500, 3, 20000.0},
        DecimationCase{"ViewAcrossOneGap", 30000, {0, 10000, 20000}, 0.25, 0.40, 300, 2, 20000.0},
        DecimationCase{"OnePointPasses", 5, {0, 1, 2, 3, 4}, 0.0, 1.0, 100, 5, 20000.0},
        DecimationCase{"PassesCloserThanAColumn", 20000, ManyRuns(20000, 10), 0.0, 1.0, 200, 1,
                       0.0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
