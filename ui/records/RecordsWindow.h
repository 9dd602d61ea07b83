#pragma once

#include <QWidget>

class QSortFilterProxyModel;
class QTableView;

namespace pelorin {

class RecordsModel;

// The records table window: every record in a sortable table, cells out of limits in red.
// Choosing a row tells recordChosen(); selectRecord() brings a record's row into view. Ctrl+C
// copies the selected rows as tab-separated text with a header line.
class RecordsWindow : public QWidget {
    Q_OBJECT
  public:
    // A window of its own over `model`, which outlives it; `parent` is the main window.
    RecordsWindow(RecordsModel& model, QWidget* parent);

    // Selects the row of record `record` (1-based) without telling recordChosen().
    void selectRecord(int record);
    // The selected rows in view order, as Ctrl+C copies them.
    QString selectedRowsText() const;
    void copySelectedRows() const;

  signals:
    void recordChosen(int record);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onCurrentRowChanged();

    RecordsModel& model_;
    QSortFilterProxyModel* sorted_ = nullptr;
    QTableView* view_ = nullptr;
    bool selecting_ = false;  // while selectRecord() runs
};

}  // namespace pelorin
