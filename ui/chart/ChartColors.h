#pragma once

#include <QColor>

class QPalette;

namespace pelorin {

// The bars' own blue, readable on light and dark backgrounds alike.
inline const QColor kBarFill(0x4a, 0x7d, 0xb8);
inline const QColor kBarOutline(0x2f, 0x5a, 0x8c);

// The chart's other colours follow the widget's palette, so that a dark theme carries over.
struct ChartColors {
    QColor background;
    QColor text;  // axes, labels, marks, the selected-record cursor
    QColor grid;  // the value axis grid
    QColor zeroLine;
    QColor faint;  // the placeholder text and the segment markers
    QColor outOfLimits;

    static ChartColors FromPalette(const QPalette& palette);
};

}  // namespace pelorin
