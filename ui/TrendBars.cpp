#include "TrendBars.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace pelorin {

namespace {

// Bars at least this wide (pixels) are drawn as rectangles, narrower ones as pixel columns.
constexpr double kMinSeparateBarPixels = 2.0;

struct PixelColumn {
    int top = INT_MAX;
    int bottom = INT_MIN;
};

}  // namespace

TrendBars::TrendBars(QCPAxis* keyAxis, QCPAxis* valueAxis) : QCPBars(keyAxis, valueAxis) {}

void TrendBars::draw(QCPPainter* painter) {
    if (mKeyAxis.isNull() || mValueAxis.isNull() || mDataContainer->isEmpty()) {
        QCPBars::draw(painter);
        return;
    }
    QCPBarsDataContainer::const_iterator begin;
    QCPBarsDataContainer::const_iterator end;
    getVisibleDataBounds(begin, end);
    if (begin == end) {
        return;
    }
    double lower = 0.0;
    double upper = 0.0;
    getPixelWidth(begin->key, lower, upper);
    applyDefaultAntialiasingHint(painter);
    if (std::fabs(upper - lower) >= kMinSeparateBarPixels) {
        drawSeparateBars(painter, begin, end);
    } else {
        drawPixelColumns(painter, begin, end);
    }
}

// All bars in one call with one pen and brush: the raster engine fills rectangle lists far
// faster than one polygon per bar. The edges snap to whole pixels so that equal bars come out
// equally wide with even gaps, outline included.
void TrendBars::drawSeparateBars(QCPPainter* painter, QCPBarsDataContainer::const_iterator begin,
                                 QCPBarsDataContainer::const_iterator end) {
    const int outline = mPen.style() == Qt::NoPen ? 0 : 1;
    QVector<QRect> rects;
    rects.reserve(static_cast<int>(end - begin));
    for (auto it = begin; it != end; ++it) {
        if (std::isnan(it->value)) {
            continue;
        }
        const QRectF bar = getBarRect(it->key, it->value).normalized();
        const int left = static_cast<int>(std::lround(bar.left()));
        const int top = static_cast<int>(std::lround(bar.top()));
        const int width = std::max(static_cast<int>(std::lround(bar.right())) - left, 1);
        const int height = std::max(static_cast<int>(std::lround(bar.bottom())) - top, 1);
        // A drawn outline adds one pixel to the right and bottom.
        rects.append(QRect(left, top, std::max(width - outline, 1), std::max(height - outline, 1)));
    }
    painter->setPen(mPen);
    painter->setBrush(mBrush);
    painter->drawRects(rects);
}

void TrendBars::drawPixelColumns(QCPPainter* painter, QCPBarsDataContainer::const_iterator begin,
                                 QCPBarsDataContainer::const_iterator end) {
    const QRect area = mKeyAxis->axisRect()->rect();
    std::vector<PixelColumn> columns(static_cast<std::size_t>(std::max(area.width(), 0)) + 1);
    for (auto it = begin; it != end; ++it) {
        if (std::isnan(it->value)) {
            continue;
        }
        const QRectF bar = getBarRect(it->key, it->value).normalized();
        const int column = static_cast<int>(std::floor(bar.center().x())) - area.left();
        if (column < 0 || column >= static_cast<int>(columns.size())) {
            continue;
        }
        PixelColumn& pixels = columns[static_cast<std::size_t>(column)];
        pixels.top = std::min(pixels.top, static_cast<int>(std::floor(bar.top())));
        pixels.bottom = std::max(pixels.bottom, static_cast<int>(std::floor(bar.bottom())));
    }
    QVector<QLine> lines;
    lines.reserve(static_cast<int>(columns.size()));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].top <= columns[i].bottom) {
            const int x = area.left() + static_cast<int>(i);
            lines.append(QLine(x, columns[i].top, x, columns[i].bottom));
        }
    }
    painter->setPen(QPen(mBrush.color(), 0));
    painter->setBrush(Qt::NoBrush);
    painter->drawLines(lines);
}

}  // namespace pelorin
