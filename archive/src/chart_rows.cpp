#include "chart_rows.h"

#include <stdexcept>

#include "pelorin/number_text.h"

namespace pelorin {

namespace {

// The ids are numbers of ours: written into the statement, they need no parameters, which the
// engines bind differently. An open end has no condition.
std::string IdsWithin(std::string_view column, FrameIds ids) {
    std::string where;
    const auto condition = [&where, column](std::string_view op, std::int64_t bound) {
        where.append(where.empty() ? " WHERE " : " AND ").append(column).append(op);
        AppendInteger(where, bound);
    };
    if (ids.first != FrameIds{}.first) {
        condition(" >= ", ids.first);
    }
    if (ids.last != FrameIds{}.last) {
        condition(" <= ", ids.last);
    }
    return where;
}

}  // namespace

std::string StationsSql(FrameIds ids) {
    return "SELECT frame_id, station FROM receptions" + IdsWithin("frame_id", ids) +
           " ORDER BY frame_id, station";
}

std::string ChartFramesSql(std::span<const int> valueIndices, FrameIds ids) {
    std::string sql = "SELECT id, first_received";
    for (const int v : valueIndices) {
        if (v < 0 || v >= kValuesPerRecord) {
            throw std::out_of_range("no value " + std::to_string(v));
        }
        sql.append(", ").append(sqlite::ValueColumns()[static_cast<std::size_t>(v)]);
    }
    return sql + " FROM frames" + IdsWithin("id", ids);
}

}  // namespace pelorin
