#pragma once

#include <QAbstractTableModel>
#include <QDateTime>
#include <optional>
#include <string>
#include <vector>

#include "pelorin/limits.h"
#include "pelorin/telemetry_table.h"

namespace pelorin {

// The decoded records as a table over the window's record store, one row a record: its number,
// the time counter with its elapsed-time text, the reception time in UTC where known and the
// values 1..34 as their boxes write them. Texts are made when a view asks for them, so a
// thousand rows cost no more than the rows shown. The sort role gives numbers.
class RecordsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kRecordColumn = 0;
    static constexpr int kTimeColumn = 1;       // value 0
    static constexpr int kReceptionColumn = 2;  // then the values 1..34
    static constexpr int kColumns = kShownValues + 2;
    static constexpr int kSortRole = Qt::UserRole;

    // `store` outlives the model; `decimalSeparator` is the user's regional one.
    RecordsModel(const TelemetryStore& store, std::string decimalSeparator,
                 QObject* parent = nullptr);

    // After a decode: the rows become the store's records, with these reception times (by
    // record, from record 1; missing ones are unknown) and limits.
    void refresh(std::vector<std::optional<QDateTime>> receptionTimes, const LimitTable& limits);

    // The value index a column shows, -1 for the record number and the reception time.
    static int ValueIndexOf(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::optional<QDateTime> receptionTime(int record) const;

    const TelemetryStore& store_;
    std::string decimalSeparator_;
    std::vector<std::optional<QDateTime>> receptionTimes_;
    LimitTable limits_{};
    int rows_ = 0;
};

}  // namespace pelorin
