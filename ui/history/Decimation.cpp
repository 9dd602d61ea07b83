#include "history/Decimation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pelorin::history {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// A range edge's ends, as a share of a column inside its edges.
constexpr double kInsideColumn = 1e-6;

bool RunStartsAt(const SeriesAxis& axis, std::size_t k) {
    return std::binary_search(axis.runStarts.begin(), axis.runStarts.end(), k);
}

// An outline's column of many points as two: its extremes, the one nearer to where the line
// comes from first. The order of points within one pixel column cannot be seen, and drawing each
// column's height once rather than zigzagging through it halves the pixels a dense view paints.
// The two keep the column's first and last time, so that x stays in order.
void EmitExtremes(const PlotSeries& s, std::size_t begin, std::size_t end, std::size_t low,
                  std::size_t high, DrawnPoints& out) {
    float first = s.y[std::min(low, high)];
    float second = s.y[std::max(low, high)];
    if (!out.y.empty() && !std::isnan(out.y.back()) &&
        std::abs(out.y.back() - second) < std::abs(out.y.back() - first)) {
        std::swap(first, second);
    }
    out.x.insert(out.x.end(), {s.axis->x[begin], s.axis->x[end - 1]});
    out.y.insert(out.y.end(), {first, second});
}

// The points `pick` picks of [begin, end) in `column`: an outline's points, or its extremes
// where there are more than two; a range edge's extreme across the whole pixel column, so that
// a filled range is at least a pixel wide wherever there are points.
void EmitColumn(const PlotSeries& s, const PixelColumns& columns, int column, std::size_t begin,
                std::size_t end, ColumnPick pick, DrawnPoints& out) {
    if (pick == ColumnPick::Outline && end - begin <= 2) {
        for (std::size_t k = begin; k < end; ++k) {
            out.x.push_back(s.axis->x[k]);
            out.y.push_back(s.y[k]);
        }
        return;
    }
    const auto [low, high] = s.extremes.extremes(s.y, begin, end);
    if (pick == ColumnPick::Outline) {
        EmitExtremes(s, begin, end, low, high, out);
        return;
    }
    const float y = s.y[pick == ColumnPick::Lowest ? low : high];
    if (column < 0 || column >= columns.count) {
        out.x.push_back(s.axis->x[begin]);
        out.y.push_back(y);
        return;
    }
    out.x.insert(out.x.end(), {columns.from + (column + kInsideColumn) * columns.width(),
                               columns.from + (column + 1 - kInsideColumn) * columns.width()});
    out.y.insert(out.y.end(), {y, y});
}

}  // namespace

int PixelColumns::of(double x) const {
    if (x < from) {
        return -1;
    }
    if (x > to) {
        return count;
    }
    const double width = to - from;
    const double at = width > 0.0 ? (x - from) / width * count : 0.0;
    return std::min(static_cast<int>(at), count - 1);
}

void Decimate(const PlotSeries& series, const PixelColumns& columns, DrawnPoints& out,
              ColumnPick pick) {
    out.x.clear();
    out.y.clear();
    if (series.size() == 0) {
        return;
    }
    const std::vector<double>& x = series.axis->x;
    // One neighbour either side, so that lines run to the edges of the view.
    std::size_t begin =
        static_cast<std::size_t>(std::lower_bound(x.begin(), x.end(), columns.from) - x.begin());
    std::size_t end =
        static_cast<std::size_t>(std::upper_bound(x.begin(), x.end(), columns.to) - x.begin());
    begin = begin > 0 ? begin - 1 : 0;
    end = std::min(end + 1, x.size());
    // Column by column, each found by a search: empty columns and the points within a column
    // cost nothing beyond the extremes' look-up.
    for (std::size_t k = begin; k < end;) {
        const int column = columns.of(x[k]);
        const auto next = static_cast<std::size_t>(
            std::partition_point(x.begin() + static_cast<std::ptrdiff_t>(k),
                                 x.begin() + static_cast<std::ptrdiff_t>(end),
                                 [&columns, column](double t) { return columns.of(t) <= column; }) -
            x.begin());
        // A gap narrower than a pixel column cannot be seen; a wider one breaks the line.
        if (k > begin && x[k] - x[k - 1] > columns.width() && RunStartsAt(*series.axis, k)) {
            out.x.push_back(x[k]);
            out.y.push_back(kNaN);
        }
        EmitColumn(series, columns, column, k, next, pick, out);
        k = next;
    }
}

}  // namespace pelorin::history
