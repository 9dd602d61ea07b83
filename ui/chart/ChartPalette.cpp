#include "ChartPalette.h"

#include <qcustomplot.h>

#include <cmath>

namespace pelorin {
namespace {

// How far from the background towards the text each shade lies; on white with black text
// these give the greys 0xd0, 0x60 and 0x80.
constexpr double kGridShare = 0.184;
constexpr double kZeroLineShare = 0.624;
constexpr double kDimTextShare = 0.5;

// `from` moved by `share` (0..1) of the way towards `to`, channel by channel.
QColor Blend(const QColor& from, const QColor& to, double share) {
    auto mix = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    const QColor f = from.toRgb();
    const QColor t = to.toRgb();
    return {mix(f.red(), t.red()), mix(f.green(), t.green()), mix(f.blue(), t.blue())};
}

QPen Recoloured(QPen pen, const QColor& colour) {
    pen.setColor(colour);
    return pen;
}

void ColourAxis(QCPAxis& axis, const ChartColours& colours) {
    axis.setBasePen(Recoloured(axis.basePen(), colours.text));
    axis.setTickPen(Recoloured(axis.tickPen(), colours.text));
    axis.setSubTickPen(Recoloured(axis.subTickPen(), colours.text));
    axis.setTickLabelColor(colours.text);
    axis.setLabelColor(colours.text);
    QCPGrid* grid = axis.grid();
    grid->setPen(QPen(colours.grid, 0, Qt::DotLine));
    grid->setSubGridPen(QPen(colours.grid, 0, Qt::DotLine));
    grid->setZeroLinePen(QPen(colours.zeroLine, 0));
}

}  // namespace

ChartColours ChartColours::Of(const QPalette& palette) {
    const QColor background = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    return {background, text, Blend(background, text, kGridShare),
            Blend(background, text, kZeroLineShare), Blend(background, text, kDimTextShare)};
}

void ApplyChartColours(QCustomPlot& plot, const ChartColours& colours) {
    plot.setBackground(colours.background);
    for (QCPAxisRect* rect : plot.axisRects()) {
        for (QCPAxis* axis : rect->axes()) {
            ColourAxis(*axis, colours);
        }
    }
    if (plot.legend != nullptr) {
        plot.legend->setBrush(colours.background);
        plot.legend->setBorderPen(QPen(colours.text, 0));
        plot.legend->setTextColor(colours.text);
    }
}

}  // namespace pelorin
