#include "ChartInteraction.h"

#include <qcustomplot.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHelpEvent>
#include <QMenu>
#include <QMessageBox>
#include <QToolTip>
#include <algorithm>

#include "TrendChart.h"

namespace pelorin {
namespace {

constexpr double kMinVisibleCategories = 5.0;

const char* const kSaveText = "Save Chart as PNG...";
const char* const kCopyText = "Copy Chart";

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
    plot->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(plot, &QWidget::customContextMenuRequested, this, &ChartInteraction::onContextMenu);
    setUpActions();
}

void ChartInteraction::setUpActions() {
    saveAction_ = new QAction(QString::fromLatin1(kSaveText), this);
    saveAction_->setObjectName(QStringLiteral("saveChartAction"));
    connect(saveAction_, &QAction::triggered, this, &ChartInteraction::saveWithDialog);
    copyAction_ = new QAction(QString::fromLatin1(kCopyText), this);
    copyAction_->setObjectName(QStringLiteral("copyChartAction"));
    connect(copyAction_, &QAction::triggered, &chart_, &TrendChart::copyToClipboard);
}

void ChartInteraction::onKeyRangeChanged(const QCPRange& range) {
    if (clampingRange_) {
        return;
    }
    // Zoom and drag stay inside the rows and show at least a few categories.
    const QCPRange whole = chart_.wholeKeyRange();
    const double span =
        std::clamp(range.size(), std::min(kMinVisibleCategories, whole.size()), whole.size());
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
    const int row = chart_.rowAt(event->position().toPoint());
    if (row == 0) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(event->globalPosition().toPoint(), chart_.barToolTip(row), chart_.plot());
}

// Qt's own tool tip request (after the hover delay) also gets the bar's text; elsewhere it goes
// on to the chart, so a tool tip set on the chart shows outside the bars.
bool ChartInteraction::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chart_.plot() && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int row = chart_.rowAt(help->pos());
        if (row != 0) {
            QToolTip::showText(help->globalPos(), chart_.barToolTip(row), chart_.plot());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
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

void ChartInteraction::onContextMenu(const QPoint& pos) {
    QMenu menu(&chart_);
    menu.addAction(saveAction_);
    menu.addAction(copyAction_);
    menu.exec(chart_.plot()->mapToGlobal(pos));
}

void ChartInteraction::saveWithDialog() {
    QString path = QFileDialog::getSaveFileName(&chart_, QStringLiteral("Save Chart as PNG"),
                                                QStringLiteral("trend-chart.png"),
                                                QStringLiteral("PNG pictures (*.png)"));
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".png");
    }
    if (!chart_.savePng(path)) {
        QMessageBox::warning(&chart_, QStringLiteral("Save Chart"),
                             QStringLiteral("The chart could not be saved as ") +
                                 QDir::toNativeSeparators(path) + QStringLiteral("."));
    }
}

}  // namespace pelorin
