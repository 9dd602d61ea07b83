#include "history/RangeFill.h"

#include <algorithm>
#include <cmath>

namespace pelorin {

RangeFill::RangeFill(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : QCPAbstractPlottable(keyAxis, valueAxis) {
    setSelectable(QCP::stNone);
    setAntialiased(false);  // neighbouring columns must meet without seams
}

void RangeFill::setEdges(const history::DrawnPoints& lower, const history::DrawnPoints& upper) {
    const std::size_t n = std::min(lower.x.size(), upper.x.size());
    x_.assign(lower.x.begin(), lower.x.begin() + static_cast<std::ptrdiff_t>(n));
    lower_.assign(lower.y.begin(), lower.y.begin() + static_cast<std::ptrdiff_t>(n));
    upper_.assign(upper.y.begin(), upper.y.begin() + static_cast<std::ptrdiff_t>(n));
}

double RangeFill::selectTest(const QPointF&, bool, QVariant*) const {
    return -1.0;
}

QCPRange RangeFill::getKeyRange(bool& foundRange, QCP::SignDomain) const {
    const auto [low, high] = std::minmax_element(x_.begin(), x_.end());
    foundRange = !x_.empty();
    return foundRange ? QCPRange(*low, *high) : QCPRange();
}

QCPRange RangeFill::getValueRange(bool& foundRange, QCP::SignDomain, const QCPRange&) const {
    QCPRange range;
    foundRange = false;
    for (const std::vector<double>* edge : {&lower_, &upper_}) {
        for (const double y : *edge) {
            if (!std::isnan(y)) {
                range = foundRange ? QCPRange(std::min(range.lower, y), std::max(range.upper, y))
                                   : QCPRange(y, y);
                foundRange = true;
            }
        }
    }
    return range;
}

void RangeFill::draw(QCPPainter* painter) {
    QCPAxis* key = keyAxis();
    QCPAxis* value = valueAxis();
    if (key == nullptr || value == nullptr || x_.empty()) {
        return;
    }
    const auto toPixels = [](const std::vector<double>& from, std::vector<double>& to,
                             QCPAxis* axis) {
        to.resize(from.size());
        std::transform(from.begin(), from.end(), to.begin(),
                       [axis](double v) { return std::isnan(v) ? v : axis->coordToPixel(v); });
    };
    toPixels(x_, pixelsX_, key);
    toPixels(lower_, pixelsLower_, value);
    toPixels(upper_, pixelsUpper_, value);
    const QRect area = clipRect();
    history::FillSpans(pixelsX_, pixelsLower_, pixelsUpper_, area.left(), area.right(), spans_);
    QVector<QLineF> lines;
    lines.reserve(static_cast<qsizetype>(spans_.size()));
    for (const history::FillSpan& span : spans_) {
        lines.append(QLineF(span.pixel, span.top, span.pixel, span.bottom));
    }
    applyDefaultAntialiasingHint(painter);
    // A column a pixel wide on a scaled screen too, where a hairline would leave gaps.
    painter->setPen(QPen(colour_, 1.0));
    painter->drawLines(lines);
}

void RangeFill::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const {
    painter->fillRect(rect, colour_);
}

}  // namespace pelorin
