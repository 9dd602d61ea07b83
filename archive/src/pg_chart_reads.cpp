// The PostgreSQL archive's narrow reads for charts.
#include "chart_rows.h"
#include "pg_store.h"

namespace pelorin {

void PostgresStore::forEachChartFrame(std::span<const int> valueIndices, FrameIds ids,
                                      const std::function<void(const ChartFrame&)>& visit) {
    try {
        pg::RowStream rows(*db_, ChartFramesSql(valueIndices, ids));
        VisitChartRows(rows, valueIndices.size(), visit);
    } catch (const pg::Failure& failure) {
        fail("read", failure);
    }
}

void PostgresStore::forEachStation(
    FrameIds ids, const std::function<void(std::int64_t, std::string_view)>& visit) {
    try {
        pg::RowStream rows(*db_, StationsSql(ids));
        VisitStationRows(rows, visit);
    } catch (const pg::Failure& failure) {
        fail("read", failure);
    }
}

std::int64_t PostgresStore::newestFrame() {
    try {
        return db_->execute(std::string(kNewestFrameSql)).integer(0, 0);
    } catch (const pg::Failure& failure) {
        fail("read", failure);
    }
}

}  // namespace pelorin
