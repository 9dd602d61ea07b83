#pragma once

#include <QColor>
#include <QPalette>

class QCustomPlot;

namespace pelorin {

// The chart's frame in the colours of the window's palette: its background is the palette's
// base, axes and labels its text colour, the grid and the zero line shades between the two
// (the grey of a light palette, a dark grey of a dark one). The bars keep their own blue,
// which reads on either.
struct ChartColours {
    QColor background;
    QColor text;
    QColor grid;
    QColor zeroLine;
    QColor dimText;  // for a note in place of the bars

    static ChartColours Of(const QPalette& palette);
};

// Colours the background, every axis (line, tick marks, labels), the grid, its zero line and
// the legend of `plot`. Replot afterwards.
void ApplyChartColours(QCustomPlot& plot, const ChartColours& colours);

}  // namespace pelorin
