#include "RecordsWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "RecordsModel.h"

namespace pelorin {
namespace {

const QString kWindowTitle = QStringLiteral("Records");
constexpr QSize kStartSize(900, 500);
const QChar kCellSeparator = QLatin1Char('\t');
const QChar kRowEnd = QLatin1Char('\n');

}  // namespace

RecordsWindow::RecordsWindow(RecordsModel& model, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model) {
    setObjectName(QStringLiteral("RecordsWindow"));
    setWindowTitle(kWindowTitle);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(&model_);
    sorted_->setSortRole(RecordsModel::kSortRole);
    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("RecordsView"));
    view_->setModel(sorted_);
    view_->setSortingEnabled(true);
    view_->sortByColumn(RecordsModel::kRecordColumn, Qt::AscendingOrder);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->verticalHeader()->hide();
    // Rows of one height, so that a thousand of them need no measuring.
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(QMargins());
    layout->addWidget(view_);
    resize(kStartSize);

    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &RecordsWindow::onCurrentRowChanged);
    // The view would copy the current cell alone.
    view_->installEventFilter(this);
}

bool RecordsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        copySelectedRows();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void RecordsWindow::onCurrentRowChanged() {
    const QModelIndex current = view_->selectionModel()->currentIndex();
    if (!selecting_ && current.isValid()) {
        emit recordChosen(sorted_->mapToSource(current).row() + 1);
    }
}

void RecordsWindow::selectRecord(int record) {
    const QModelIndex source = model_.index(record - 1, RecordsModel::kRecordColumn);
    const QModelIndex row = sorted_->mapFromSource(source);
    // The current row already: a selection of several rows made here stays.
    if (!row.isValid() || row.row() == view_->currentIndex().row()) {
        return;
    }
    selecting_ = true;
    view_->selectionModel()->setCurrentIndex(
        row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_->scrollTo(row);
    selecting_ = false;
}

QString RecordsWindow::selectedRowsText() const {
    std::vector<int> rows;
    for (const QModelIndex& cell : view_->selectionModel()->selectedIndexes()) {
        rows.push_back(cell.row());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QString text;
    for (int column = 0; column < RecordsModel::kColumns; ++column) {
        text += (column == 0 ? QString() : QString(kCellSeparator)) +
                model_.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    text += kRowEnd;
    for (const int row : rows) {
        for (int column = 0; column < RecordsModel::kColumns; ++column) {
            if (column > 0) {
                text += kCellSeparator;
            }
            text += sorted_->index(row, column).data().toString();
        }
        text += kRowEnd;
    }
    return text;
}

void RecordsWindow::copySelectedRows() const {
    if (view_->selectionModel()->hasSelection()) {
        QApplication::clipboard()->setText(selectedRowsText());
    }
}

}  // namespace pelorin
