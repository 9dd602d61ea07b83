#include "TrendBars.h"

#include <algorithm>
#include <array>
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
// The marked bar's outline stands this far outside the bar (pixels), so that it shows around
// bars narrower than a pixel too.
constexpr int kMarkMargin = 2;

struct PixelColumn {
    int top = INT_MAX;
    int bottom = INT_MIN;
};

int RoundPixel(double coordinate) {
    return static_cast<int>(std::lround(coordinate));
}

}  // namespace

TrendBars::TrendBars(QCPAxis* keyAxis, QCPAxis* valueAxis) : QCPBars(keyAxis, valueAxis) {}

void TrendBars::setBases(std::vector<double> bases) {
    bases_ = std::move(bases);
}

void TrendBars::setFlagged(std::vector<char> flagged, const QBrush& brush) {
    flagged_ = std::move(flagged);
    flaggedBrush_ = brush;
}

void TrendBars::setMarked(int at, const QPen& pen) {
    marked_ = at;
    markPen_ = pen;
}

void TrendBars::draw(QCPPainter* painter) {
    if (mKeyAxis.isNull() || mValueAxis.isNull() || mDataContainer->isEmpty()) {
        QCPBars::draw(painter);
        return;
    }
    Iterator begin;
    Iterator end;
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
    drawMark(painter, begin, end);
}

void TrendBars::drawMark(QCPPainter* painter, Iterator begin, Iterator end) const {
    const Iterator mark = mDataContainer->constBegin() + marked_;
    if (marked_ < 0 || mark < begin || mark >= end) {
        return;
    }
    const std::optional<QRectF> bar = barPixels(mark);
    if (!bar) {
        return;
    }
    const QRect outline(
        QPoint(RoundPixel(bar->left()) - kMarkMargin, RoundPixel(bar->top()) - kMarkMargin),
        QPoint(RoundPixel(bar->right()) + kMarkMargin - 1,
               RoundPixel(bar->bottom()) + kMarkMargin - 1));
    painter->setPen(markPen_);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(outline);
}

double TrendBars::baseOf(Iterator bar) const {
    const auto at = static_cast<std::size_t>(bar - mDataContainer->constBegin());
    return at < bases_.size() ? bases_[at] : 0.0;
}

bool TrendBars::isFlagged(Iterator bar) const {
    const auto at = static_cast<std::size_t>(bar - mDataContainer->constBegin());
    return at < flagged_.size() && flagged_[at] != 0;
}

std::optional<QRectF> TrendBars::barPixels(Iterator bar) const {
    const double base = baseOf(bar);
    if (!std::isfinite(bar->key) || !std::isfinite(bar->value) || !std::isfinite(base)) {
        return std::nullopt;
    }
    const QRectF area = QRectF(mKeyAxis->axisRect()->rect())
                            .adjusted(-kClipMargin, -kClipMargin, kClipMargin, kClipMargin);
    double left = 0.0;
    double right = 0.0;
    getPixelWidth(bar->key, left, right);
    const double key = mKeyAxis->coordToPixel(bar->key);
    const QRectF rect = QRectF(QPointF(key + left, mValueAxis->coordToPixel(bar->value)),
                               QPointF(key + right, mValueAxis->coordToPixel(base)))
                            .normalized();
    return QRectF(QPointF(std::clamp(rect.left(), area.left(), area.right()),
                          std::clamp(rect.top(), area.top(), area.bottom())),
                  QPointF(std::clamp(rect.right(), area.left(), area.right()),
                          std::clamp(rect.bottom(), area.top(), area.bottom())));
}

// All bars of one brush in one call: the raster engine fills rectangle lists far faster than
// one polygon per bar. The edges snap to whole pixels so that equal bars come out equally wide
// with even gaps, outline included.
void TrendBars::drawSeparateBars(QCPPainter* painter, Iterator begin, Iterator end) const {
    const int outline = mPen.style() == Qt::NoPen ? 0 : 1;
    std::array<QVector<QRect>, 2> rects;  // plain, flagged
    rects[0].reserve(static_cast<int>(end - begin));
    for (auto it = begin; it != end; ++it) {
        const std::optional<QRectF> bar = barPixels(it);
        if (!bar) {
            continue;
        }
        const int left = RoundPixel(bar->left());
        const int top = RoundPixel(bar->top());
        const int width = std::max(RoundPixel(bar->right()) - left, 1);
        const int height = std::max(RoundPixel(bar->bottom()) - top, 1);
        // A drawn outline adds one pixel to the right and bottom.
        rects[isFlagged(it) ? 1 : 0].append(
            QRect(left, top, std::max(width - outline, 1), std::max(height - outline, 1)));
    }
    painter->setPen(mPen);
    painter->setBrush(mBrush);
    painter->drawRects(rects[0]);
    painter->setBrush(flaggedBrush_);
    painter->drawRects(rects[1]);
}

// One filled pixel-wide rectangle per column, from the highest to the lowest bar edge in it;
// flagged bars get columns of their own, drawn over the plain ones.
void TrendBars::drawPixelColumns(QCPPainter* painter, Iterator begin, Iterator end) const {
    const QRect area = mKeyAxis->axisRect()->rect();
    const auto width = static_cast<std::size_t>(std::max(area.width(), 0)) + 1;
    std::array<std::vector<PixelColumn>, 2> columns{std::vector<PixelColumn>(width),
                                                    std::vector<PixelColumn>()};
    if (!flagged_.empty()) {
        columns[1].resize(width);
    }
    for (auto it = begin; it != end; ++it) {
        const std::optional<QRectF> bar = barPixels(it);
        if (!bar) {
            continue;
        }
        const int column = static_cast<int>(std::floor(bar->center().x())) - area.left();
        if (column < 0 || column >= static_cast<int>(width)) {
            continue;
        }
        PixelColumn& pixels = columns[isFlagged(it) ? 1 : 0][static_cast<std::size_t>(column)];
        pixels.top = std::min(pixels.top, static_cast<int>(std::floor(bar->top())));
        pixels.bottom = std::max(pixels.bottom, static_cast<int>(std::floor(bar->bottom())));
    }
    painter->setPen(Qt::NoPen);
    for (std::size_t kind = 0; kind < columns.size(); ++kind) {
        QVector<QRect> rects;
        rects.reserve(static_cast<int>(columns[kind].size()));
        for (std::size_t i = 0; i < columns[kind].size(); ++i) {
            const PixelColumn& pixels = columns[kind][i];
            if (pixels.top <= pixels.bottom) {
                rects.append(QRect(area.left() + static_cast<int>(i), pixels.top, 1,
                                   pixels.bottom - pixels.top + 1));
            }
        }
        painter->setBrush(kind == 0 ? mBrush : flaggedBrush_);
        painter->drawRects(rects);
    }
}

}  // namespace pelorin
