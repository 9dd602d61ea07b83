#include "history/PassListModel.h"

#include <QDateTime>

#include "QtText.h"
#include "history/HistoryLoader.h"

namespace pelorin {
namespace {

constexpr std::int64_t kMillisPerSecond = 1000;
constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 3600;

QString TwoDigits(std::int64_t n) {
    return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
}

// "1:02:03" for a pass of that length.
QString DurationText(std::int64_t millis) {
    const std::int64_t seconds = millis / kMillisPerSecond;
    return IntegerText(seconds / kSecondsPerHour) + u':' +
           TwoDigits(seconds / kSecondsPerMinute % kSecondsPerMinute) + u':' +
           TwoDigits(seconds % kSecondsPerMinute);
}

QString StartText(const PassSummary& pass) {
    if (!pass.timed) {
        return PassListModel::tr("on board %1 s").arg(IntegerText(pass.start / kMillisPerSecond));
    }
    return QDateTime::fromMSecsSinceEpoch(pass.start)
        .toLocalTime()
        .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

}  // namespace

PassListModel::PassListModel(QObject* parent) : QAbstractTableModel(parent) {}

void PassListModel::setSnapshot(std::shared_ptr<const HistorySnapshot> snapshot) {
    beginResetModel();
    snapshot_ = std::move(snapshot);
    endResetModel();
}

int PassListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !snapshot_ ? 0 : static_cast<int>(snapshot_->data.passes.size());
}

int PassListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

std::size_t PassListModel::passIndex(int row) const {
    return snapshot_->data.passes.size() - 1 - static_cast<std::size_t>(row);
}

std::optional<PassSummary> PassListModel::passAt(int row) const {
    if (row < 0 || row >= rowCount()) {
        return std::nullopt;
    }
    return snapshot_->data.passes[passIndex(row)];
}

std::optional<int> PassListModel::rowOf(std::int64_t number) const {
    const int rows = rowCount();
    // Numbers count from 1 in the archive's order; the list is newest first.
    const auto row = static_cast<int>(rows - number);
    return row >= 0 && row < rows ? std::optional<int>(row) : std::nullopt;
}

QVariant PassListModel::data(const QModelIndex& index, int role) const {
    const std::optional<PassSummary> pass = passAt(index.row());
    if (!pass) {
        return {};
    }
    if (role == Qt::ToolTipRole && index.column() == Start && pass->timed) {
        return QString::fromStdString(FormatUtcTime(pass->start));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
        case Start:
            return StartText(*pass);
        case Duration:
            return DurationText(pass->end - pass->start);
        case Frames:
            return IntegerText(pass->frames);
        case Stations:
            return IntegerText(pass->stations);
        default:
            return {};
    }
}

QVariant PassListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case Start:
            return tr("Start");
        case Duration:
            return tr("Duration");
        case Frames:
            return tr("Frames");
        case Stations:
            return tr("Stations");
        default:
            return {};
    }
}

}  // namespace pelorin
