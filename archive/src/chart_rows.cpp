#include "chart_rows.h"

#include <stdexcept>

namespace pelorin {

std::string ChartFramesSql(std::span<const int> valueIndices) {
    std::string sql = "SELECT id, first_received";
    for (const int v : valueIndices) {
        if (v < 0 || v >= kValuesPerRecord) {
            throw std::out_of_range("no value " + std::to_string(v));
        }
        sql.append(", ").append(sqlite::ValueColumns()[static_cast<std::size_t>(v)]);
    }
    return sql + " FROM frames";
}

}  // namespace pelorin
