// The SQLite archive's narrow reads for charts.
#include "chart_rows.h"
#include "sqlite_store.h"

namespace pelorin {

void SqliteStore::forEachChartFrame(std::span<const int> valueIndices, FrameIds ids,
                                    const std::function<void(const ChartFrame&)>& visit) {
    try {
        sqlite::Statement rows(db_->handle(), ChartFramesSql(valueIndices, ids));
        VisitChartRows(rows, valueIndices.size(), visit);
    } catch (const sqlite::Failure& failure) {
        fail("read", failure);
    }
}

void SqliteStore::forEachStation(FrameIds ids,
                                 const std::function<void(std::int64_t, std::string_view)>& visit) {
    try {
        sqlite::Statement rows(db_->handle(), StationsSql(ids));
        VisitStationRows(rows, visit);
    } catch (const sqlite::Failure& failure) {
        fail("read", failure);
    }
}

std::int64_t SqliteStore::newestFrame() {
    try {
        sqlite::Statement newest(db_->handle(), kNewestFrameSql);
        newest.step();
        return newest.integer(0);
    } catch (const sqlite::Failure& failure) {
        fail("read", failure);
    }
}

}  // namespace pelorin
