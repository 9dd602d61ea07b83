#include "history/Decimation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace pelorin::history {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool RunStartsAt(const SeriesAxis& axis, std::size_t k) {
    return std::binary_search(axis.runStarts.begin(), axis.runStarts.end(), k);
}

// The points `pick` picks of [begin, end), each once, in time order.
void EmitColumn(const PlotSeries& s, std::size_t begin, std::size_t end, ColumnPick pick,
                DrawnPoints& out) {
    const auto [low, high] = s.extremes.extremes(s.y, begin, end);
    std::array<std::size_t, 4> picks{begin, low, high, end - 1};
    auto last = picks.end();
    if (pick == ColumnPick::Outline) {
        std::sort(picks.begin(), picks.end());
        last = std::unique(picks.begin(), picks.end());
    } else {
        picks[0] = pick == ColumnPick::Lowest ? low : high;
        last = picks.begin() + 1;
    }
    for (auto it = picks.begin(); it != last; ++it) {
        out.x.push_back(s.axis->x[*it]);
        out.y.push_back(s.y[*it]);
    }
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
        // A gap within one pixel column cannot be seen; one across columns breaks the line.
        if (k > begin && RunStartsAt(*series.axis, k)) {
            out.x.push_back(x[k]);
            out.y.push_back(kNaN);
        }
        EmitColumn(series, k, next, pick, out);
        k = next;
    }
}

}  // namespace pelorin::history
