#include "ChartKeys.h"

#include <qcustomplot.h>
#include <QKeyEvent>

#include "TrendChart.h"

namespace pelorin {
namespace {

constexpr double kZoomInFactor = 0.8;  // of the view's width, per key press
constexpr double kPanShare = 0.25;     // of the view's width, per key press

}  // namespace

ChartKeys::ChartKeys(TrendChart& chart) : QObject(&chart), chart_(chart) {
    chart_.installEventFilter(this);
}

bool ChartKeys::Uses(int key) {
    switch (key) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:  // + without Shift on many layouts
        case Qt::Key_Minus:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
            return true;
        default:
            return false;
    }
}

bool ChartKeys::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &chart_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
        if (modifiers == Qt::NoModifier && chart_.hasDrawing() && handle(key->key())) {
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool ChartKeys::handle(int key) {
    QCPAxis* axis = chart_.plot()->xAxis;
    const QCPRange view = axis->range();
    switch (key) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            axis->scaleRange(kZoomInFactor, view.center());
            break;
        case Qt::Key_Minus:
            axis->scaleRange(1.0 / kZoomInFactor, view.center());
            break;
        case Qt::Key_Left:
            axis->moveRange(-kPanShare * view.size());
            break;
        case Qt::Key_Right:
            axis->moveRange(kPanShare * view.size());
            break;
        case Qt::Key_Home:
            chart_.showWholeRange();
            return true;
        default:
            return false;
    }
    chart_.plot()->replot(QCustomPlot::rpQueuedReplot);
    return true;
}

}  // namespace pelorin
