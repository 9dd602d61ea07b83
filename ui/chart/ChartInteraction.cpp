#include "ChartInteraction.h"

#include <qcustomplot.h>
#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "TrendChart.h"

namespace pelorin {
namespace {

constexpr double kMinVisibleSteps = 5.0;  // record steps the narrowest zoom still shows

}  // namespace

ChartInteraction::ChartInteraction(TrendChart& chart) : QObject(&chart), chart_(chart) {
    QCustomPlot* plot = chart_.plot();
    plot->setMouseTracking(true);
    plot->installEventFilter(this);
    connect(plot, &QCustomPlot::mouseMove, this, &ChartInteraction::onMouseMove);
    connect(plot, &QCustomPlot::mousePress, this, &ChartInteraction::onMousePress);
    connect(plot, &QCustomPlot::mouseRelease, this, &ChartInteraction::onMouseRelease);
    connect(plot, &QCustomPlot::mouseDoubleClick, &chart_, &TrendChart::showWholeRange);
    connect(plot->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            &ChartInteraction::onKeyRangeChanged);
}

void ChartInteraction::onKeyRangeChanged(const QCPRange& range) {
    if (clampingRange_) {
        return;
    }
    // Zoom and drag stay inside the rows and show at least a few records.
    const QCPRange whole = chart_.wholeKeyRange();
    const double narrowest = std::min(kMinVisibleSteps * chart_.recordStep(), whole.size());
    const double span = std::clamp(range.size(), narrowest, whole.size());
    double lower = range.center() - span / 2;
    lower = std::clamp(lower, whole.lower, whole.upper - span);
    if (lower != range.lower || lower + span != range.upper) {
        clampingRange_ = true;
        chart_.plot()->xAxis->setRange(lower, lower + span);
        clampingRange_ = false;
    }
}

void ChartInteraction::onMouseMove(QMouseEvent* event) {
    if (event->buttons() != Qt::NoButton) {
        return;
    }
    const QString text = toolTipAt(event->position().toPoint());
    if (text.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(event->globalPosition().toPoint(), text, chart_.plot());
}

// Qt's own tool tip request (after the hover delay) also gets the bar's text; elsewhere it goes
// on to the chart, so a tool tip set on the chart shows outside the bars.
bool ChartInteraction::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chart_.plot() && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = toolTipAt(help->pos());
        if (!text.isEmpty()) {
            QToolTip::showText(help->globalPos(), text, chart_.plot());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QString ChartInteraction::toolTipAt(const QPoint& pos) const {
    const QCustomPlot* plot = chart_.plot();
    if (const auto& timeAxis = chart_.rowKeys().timeAxis();
        timeAxis && chart_.hasDrawing() && plot->axisRect()->rect().contains(pos)) {
        for (const SegmentStart& start : timeAxis->segmentStarts()) {
            if (std::fabs(plot->xAxis->coordToPixel(start.x) - pos.x()) <=
                TrendChart::kHoverPixels) {
                return QString::fromStdString(SegmentStartText(start));
            }
        }
    }
    return chart_.barToolTip(chart_.rowAt(pos));
}

void ChartInteraction::onMousePress(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    pressPos_ = event->position().toPoint();
    QToolTip::hideText();
}

// A click is a press and release without dragging in between; a drag pans instead.
void ChartInteraction::onMouseRelease(QMouseEvent* event) {
    if (!pressed_ || event->button() != Qt::LeftButton) {
        return;
    }
    pressed_ = false;
    const QPoint pos = event->position().toPoint();
    if ((pos - pressPos_).manhattanLength() > QApplication::startDragDistance()) {
        return;
    }
    const int row = chart_.rowAt(pos);
    if (row != 0) {
        emit barClicked(row);
    }
}

}  // namespace pelorin
