#pragma once

#include <cstddef>
#include <vector>

#include "history/HistoryData.h"

namespace pelorin::history {

// The pixel columns a time span [from, to] is drawn across.
struct PixelColumns {
    double from = 0.0;
    double to = 1.0;
    int count = 1;

    // The column of time x in 0..count-1; -1 before the span, count after it.
    int of(double x) const;
    double width() const { return (to - from) / count; }
};

// What a chart draws: points in x order, a NaN y where the line breaks between runs.
struct DrawnPoints {
    std::vector<double> x;
    std::vector<double> y;
};

// Which points of a pixel column are drawn: its outline, or only the lowest or the highest, for
// the lower and upper edge of a filled range.
enum class ColumnPick { Outline, Lowest, Highest };

// The points of `series` to draw across `columns`: in each column of more than two points its
// lowest and highest, the one nearer the line's previous point first, at the column's first and
// last time (otherwise its points), so that every column shows the data's extremes with at most
// two points, and the line enters and leaves the view through the neighbours just outside it. The
// line breaks where a run ends and the next begins more than a column's width later; runs closer
// than that cannot be seen apart and are joined. Takes time in proportion to the columns, whatever
// the points in view. With ColumnPick::Lowest or Highest a column has its one extreme instead, flat
// from the column's left edge to its right.
void Decimate(const PlotSeries& series, const PixelColumns& columns, DrawnPoints& out,
              ColumnPick pick = ColumnPick::Outline);

}  // namespace pelorin::history
