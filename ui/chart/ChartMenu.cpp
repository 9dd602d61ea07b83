#include "ChartMenu.h"

#include <qcustomplot.h>
#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <cmath>

#include "TrendChart.h"

namespace pelorin {
namespace {

const QString kPngSuffix = QStringLiteral("png");

}  // namespace

ChartMenu::ChartMenu(TrendChart& chart) : QObject(&chart), chart_(chart) {
    menu_ = new QMenu(&chart_);
    menu_->setObjectName(QStringLiteral("chartMenu"));
    auto* timeAxis = new QActionGroup(this);
    recordNumber_ = addChoice("recordNumberAction", "&Record number", timeAxis);
    onBoardTime_ = addChoice("onBoardTimeAction", "&On-board time", timeAxis);
    menu_->addSeparator();
    auto* valueAxis = new QActionGroup(this);
    fitToValues_ = addChoice("fitToValuesAction", "&Fit to values", valueAxis);
    startAtZero_ = addChoice("startAtZeroAction", "Start at &zero", valueAxis);
    menu_->addSeparator();
    statistics_ =
        addChoice("showStatisticsAction", "Show &minimum, maximum, average and actual", nullptr);
    menu_->addSeparator();

    QAction* save = menu_->addAction(QStringLiteral("&Save Chart as PNG..."));
    save->setObjectName(QStringLiteral("saveChartAction"));
    connect(save, &QAction::triggered, this, &ChartMenu::saveWithDialog);
    QAction* copy = menu_->addAction(QStringLiteral("&Copy Chart"));
    copy->setObjectName(QStringLiteral("copyChartAction"));
    connect(copy, &QAction::triggered, &chart_, &TrendChart::copyToClipboard);

    showOptions(chart_.options());
    connect(&chart_, &TrendChart::optionsChanged, this, &ChartMenu::showOptions);
    // The plot keeps mouse events from reaching the chart, its context menu requests too.
    chart_.installEventFilter(this);
    chart_.plot()->installEventFilter(this);
}

QAction* ChartMenu::addChoice(const char* name, const char* text, QActionGroup* group) {
    QAction* action = menu_->addAction(QString::fromLatin1(text));
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    if (group != nullptr) {
        group->addAction(action);
    }
    connect(action, &QAction::triggered, this, &ChartMenu::chooseFromActions);
    return action;
}

void ChartMenu::showOptions(const ChartOptions& options) {
    recordNumber_->setChecked(options.timeAxis == TimeAxisChoice::RecordNumber);
    onBoardTime_->setChecked(options.timeAxis == TimeAxisChoice::OnBoardTime);
    fitToValues_->setChecked(options.valueScale == ValueScale::FitToValues);
    startAtZero_->setChecked(options.valueScale == ValueScale::StartAtZero);
    statistics_->setChecked(options.showStatistics);
}

void ChartMenu::chooseFromActions() {
    ChartOptions options;
    options.timeAxis =
        onBoardTime_->isChecked() ? TimeAxisChoice::OnBoardTime : TimeAxisChoice::RecordNumber;
    options.valueScale =
        startAtZero_->isChecked() ? ValueScale::StartAtZero : ValueScale::FitToValues;
    options.showStatistics = statistics_->isChecked();
    chart_.setOptions(options);
}

void ChartMenu::popup(const QPoint& globalPos) {
    menu_->popup(globalPos);
}

// The Menu key also arrives as a context menu event on some platforms; whichever comes second
// goes to the menu that is open by then.
bool ChartMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &chart_ && watched != chart_.plot()) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ContextMenu) {
        const auto* request = static_cast<QContextMenuEvent*>(event);
        popup(request->reason() == QContextMenuEvent::Keyboard ? keyboardMenuPos()
                                                               : request->globalPos());
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
        if (key->key() == Qt::Key_Menu || shiftF10) {
            popup(keyboardMenuPos());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// From the keyboard the menu opens at the selected bar when it is in view, else mid-chart.
QPoint ChartMenu::keyboardMenuPos() const {
    const QCustomPlot* plot = chart_.plot();
    QPoint at = plot->axisRect()->rect().center();
    if (const std::optional<double> key = chart_.rowKeys().keyOf(chart_.selectedRow());
        key && plot->xAxis->range().contains(*key)) {
        at.setX(static_cast<int>(std::lround(plot->xAxis->coordToPixel(*key))));
    }
    return plot->mapToGlobal(at);
}

void ChartMenu::saveWithDialog() {
    QFileDialog dialog(&chart_, QStringLiteral("Save Chart as PNG"), QString(),
                       QStringLiteral("PNG pictures (*.png)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(kPngSuffix);
    dialog.selectFile(QStringLiteral("trend-chart.png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    chart_.savePicture(dialog.selectedFiles().constFirst());
}

}  // namespace pelorin
