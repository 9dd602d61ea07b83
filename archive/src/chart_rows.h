#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "frame_rows.h"
#include "pelorin/archive_store.h"
#include "sqlite_schema.h"

// The narrow reads of charts, the same on every engine.
namespace pelorin {

// id, first_received, then the columns of `valueIndices` of the frames `ids`: nothing else, so
// that a million frames read quickly.
std::string ChartFramesSql(std::span<const int> valueIndices, FrameIds ids);
// frame_id and station of the receptions of the frames `ids`, by frame id.
std::string StationsSql(FrameIds ids);
inline constexpr std::string_view kNewestFrameSql = "SELECT coalesce(max(id), 0) FROM frames";

// Hands out each row of ChartFramesSql with `count` values.
template <typename Row>
void VisitChartRows(Row& rows, std::size_t count,
                    const std::function<void(const ChartFrame&)>& visit) {
    constexpr int kFirstValue = 2;
    std::array<double, kValuesPerRecord> values{};
    ChartFrame frame;
    frame.values = std::span<const double>(values.data(), count);
    while (rows.step()) {
        frame.id = rows.integer(0);
        frame.firstReceived = TimeIn(rows, 1);
        for (std::size_t k = 0; k < count; ++k) {
            values[k] = rows.real(kFirstValue + static_cast<int>(k));
        }
        visit(frame);
    }
}

template <typename Row>
void VisitStationRows(Row& rows, const std::function<void(std::int64_t, std::string_view)>& visit) {
    while (rows.step()) {
        visit(rows.integer(0), rows.text(1));
    }
}

}  // namespace pelorin
