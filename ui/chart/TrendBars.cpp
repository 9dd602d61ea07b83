#include "TrendBars.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <vector>

namespace pelorin {

namespace {

// Bars at least this wide (pixels) are drawn as rectangles, narrower ones as pixel columns.
constexpr double kMinSeparateBarPixels = 2.0;
// Bars reaching further than this beyond the plotting area are cut there (pixels), so huge
// values cannot overflow the integer pixel coordinates.
constexpr double kClipMargin = 4.0;

struct PixelColumn {
    int top = INT_MAX;
    int bottom = INT_MIN;
};

int RoundPixel(double coordinate) {
    return static_cast<int>(std::lround(coordinate));
}

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

std::optional<QRectF> TrendBars::barPixels(const QCPBarsData& bar) const {
    if (!std::isfinite(bar.key) || !std::isfinite(bar.value)) {
        return std::nullopt;
    }
    const QRectF area = QRectF(mKeyAxis->axisRect()->rect())
                            .adjusted(-kClipMargin, -kClipMargin, kClipMargin, kClipMargin);
    const QRectF rect = getBarRect(bar.key, bar.value).normalized();
    const double left = std::clamp(rect.left(), area.left(), area.right());
    const double right = std::clamp(rect.right(), area.left(), area.right());
    const double top = std::clamp(rect.top(), area.top(), area.bottom());
    const double bottom = std::clamp(rect.bottom(), area.top(), area.bottom());
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// All bars in one call with one pen and brush: the raster engine fills rectangle lists far
// faster than one polygon per bar. The edges snap to whole pixels so that equal bars come out
// equally wide with even gaps, outline included.
void TrendBars::drawSeparateBars(QCPPainter* painter, QCPBarsDataContainer::const_iterator begin,
                                 QCPBarsDataContainer::const_iterator end) const {
    const int outline = mPen.style() == Qt::NoPen ? 0 : 1;
    QVector<QRect> rects;
    rects.reserve(static_cast<int>(end - begin));
    for (auto it = begin; it != end; ++it) {
        const std::optional<QRectF> bar = barPixels(*it);
        if (!bar) {
            continue;
        }
        const int left = RoundPixel(bar->left());
        const int top = RoundPixel(bar->top());
        const int width = std::max(RoundPixel(bar->right()) - left, 1);
        const int height = std::max(RoundPixel(bar->bottom()) - top, 1);
        // A drawn outline adds one pixel to the right and bottom.
        rects.append(QRect(left, top, std::max(width - outline, 1), std::max(height - outline, 1)));
    }
    painter->setPen(mPen);
    painter->setBrush(mBrush);
    painter->drawRects(rects);
}

// One filled pixel-wide rectangle per column, from the highest to the lowest bar edge in it
// (zero included, as every bar starts there).
void TrendBars::drawPixelColumns(QCPPainter* painter, QCPBarsDataContainer::const_iterator begin,
                                 QCPBarsDataContainer::const_iterator end) const {
    const QRect area = mKeyAxis->axisRect()->rect();
    std::vector<PixelColumn> columns(static_cast<std::size_t>(std::max(area.width(), 0)) + 1);
    for (auto it = begin; it != end; ++it) {
        const std::optional<QRectF> bar = barPixels(*it);
        if (!bar) {
            continue;
        }
        const int column = static_cast<int>(std::floor(bar->center().x())) - area.left();
        if (column < 0 || column >= static_cast<int>(columns.size())) {
            continue;
        }
        PixelColumn& pixels = columns[static_cast<std::size_t>(column)];
        pixels.top = std::min(pixels.top, static_cast<int>(std::floor(bar->top())));
        pixels.bottom = std::max(pixels.bottom, static_cast<int>(std::floor(bar->bottom())));
    }
    QVector<QRect> rects;
    rects.reserve(static_cast<int>(columns.size()));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const PixelColumn& pixels = columns[i];
        if (pixels.top <= pixels.bottom) {
            rects.append(QRect(area.left() + static_cast<int>(i), pixels.top, 1,
                               pixels.bottom - pixels.top + 1));
        }
    }
    painter->setPen(Qt::NoPen);
    painter->setBrush(mBrush);
    painter->drawRects(rects);
}

}  // namespace pelorin
