#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <optional>

#include "pelorin/archive_store.h"

namespace pelorin {

struct HistorySnapshot;

// The archive's passes for the History window's list, newest first: start (local time, UTC in
// its tool tip), duration, frames and stations. Rows are written when shown, so that tens of
// thousands of passes cost nothing until scrolled to.
class PassListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Start, Duration, Frames, Stations, ColumnCount };

    explicit PassListModel(QObject* parent = nullptr);

    void setSnapshot(std::shared_ptr<const HistorySnapshot> snapshot);
    // The pass of `row`, and the row of the pass numbered `number`.
    std::optional<PassSummary> passAt(int row) const;
    std::optional<int> rowOf(std::int64_t number) const;
    // The index into the snapshot's passes of `row`'s pass.
    std::size_t passIndex(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::shared_ptr<const HistorySnapshot> snapshot_;
};

}  // namespace pelorin
