#include "RecordsModel.h"

#include <QGuiApplication>
#include <QPalette>

#include "QtText.h"
#include "ReadableColors.h"
#include "ReceptionTime.h"
#include "ValueText.h"
#include "pelorin/value_info.h"

namespace pelorin {
namespace {

const QString kRecordHeader = QStringLiteral("record");
const QString kReceptionHeader = QStringLiteral("received_utc");

}  // namespace

RecordsModel::RecordsModel(const TelemetryStore& store, std::string decimalSeparator,
                           QObject* parent)
    : QAbstractTableModel(parent), store_(store), decimalSeparator_(std::move(decimalSeparator)) {}

void RecordsModel::refresh(std::vector<std::optional<QDateTime>> receptionTimes,
                           const LimitTable& limits) {
    beginResetModel();
    receptionTimes_ = std::move(receptionTimes);
    limits_ = limits;
    rows_ = store_.RecordCount();
    endResetModel();
}

int RecordsModel::ValueIndexOf(int column) {
    if (column == kTimeColumn) {
        return 0;
    }
    return column > kReceptionColumn && column < kColumns ? column - kReceptionColumn : -1;
}

int RecordsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int RecordsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

std::optional<QDateTime> RecordsModel::receptionTime(int record) const {
    const auto slot = static_cast<std::size_t>(record - 1);
    return slot < receptionTimes_.size() ? receptionTimes_[slot] : std::nullopt;
}

QVariant RecordsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_) {
        return {};
    }
    const int record = index.row() + 1;
    const int value = ValueIndexOf(index.column());
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == kRecordColumn) {
                return IntegerText(record);
            }
            if (index.column() == kReceptionColumn) {
                const auto time = receptionTime(record);
                return time ? ReceptionTimeText(*time) : QString();
            }
            return ToQString(ValueBoxText(store_.record(record), value, decimalSeparator_));
        case kSortRole:
            if (index.column() == kRecordColumn) {
                return record;
            }
            if (index.column() == kReceptionColumn) {
                const auto time = receptionTime(record);
                return time ? QVariant(time->toMSecsSinceEpoch()) : QVariant();
            }
            return store_.value(record, value);
        case Qt::ForegroundRole:
            if (value >= 0 && IsOutOfLimits(store_.value(record, value),
                                            limits_[static_cast<std::size_t>(value)])) {
                return WarningRed(QGuiApplication::palette().color(QPalette::Base));
            }
            return {};
        case Qt::TextAlignmentRole:
            return index.column() == kReceptionColumn ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                      : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant RecordsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumns) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (section == kRecordColumn) {
        return kRecordHeader;
    }
    if (section == kReceptionColumn) {
        return kReceptionHeader;
    }
    return ToQString(InfoOf(ValueIndexOf(section)).column);
}

}  // namespace pelorin
