#include "history/Decimation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace pelorin::history {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The first, lowest, highest and last point of one column within one run.
struct ColumnPicks {
    std::size_t first = 0;
    std::size_t low = 0;
    std::size_t high = 0;
    std::size_t last = 0;

    void start(std::size_t k) { first = low = high = last = k; }
    void add(const PlotSeries& s, std::size_t k) {
        last = k;
        low = s.y[k] < s.y[low] ? k : low;
        high = s.y[k] > s.y[high] ? k : high;
    }
    void emit(const PlotSeries& s, DrawnPoints& out) const {
        std::array<std::size_t, 4> picks{first, low, high, last};
        std::sort(picks.begin(), picks.end());
        const auto end = std::unique(picks.begin(), picks.end());
        for (auto it = picks.begin(); it != end; ++it) {
            out.x.push_back(s.x[*it]);
            out.y.push_back(s.y[*it]);
        }
    }
};

bool RunStartsAt(const PlotSeries& s, std::size_t k) {
    return std::binary_search(s.runStarts.begin(), s.runStarts.end(), k);
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

void Decimate(const PlotSeries& series, const PixelColumns& columns, DrawnPoints& out) {
    out.x.clear();
    out.y.clear();
    const auto& x = series.x;
    // One neighbour either side, so that lines run to the edges of the view.
    std::size_t begin =
        static_cast<std::size_t>(std::lower_bound(x.begin(), x.end(), columns.from) - x.begin());
    std::size_t end =
        static_cast<std::size_t>(std::upper_bound(x.begin(), x.end(), columns.to) - x.begin());
    begin = begin > 0 ? begin - 1 : 0;
    end = std::min(end + 1, x.size());
    if (begin >= end) {
        return;
    }
    ColumnPicks picks;
    picks.start(begin);
    int column = columns.of(x[begin]);
    for (std::size_t k = begin + 1; k < end; ++k) {
        const int c = columns.of(x[k]);
        // A gap within one pixel column cannot be seen; one across columns breaks the line.
        const bool gap = c != column && RunStartsAt(series, k);
        if (c != column) {
            picks.emit(series, out);
            picks.start(k);
            column = c;
            if (gap) {
                out.x.push_back(x[k]);
                out.y.push_back(kNaN);
            }
        } else {
            picks.add(series, k);
        }
    }
    picks.emit(series, out);
}

}  // namespace pelorin::history
