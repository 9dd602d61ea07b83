#include "sqlite_schema.h"

#include "pelorin/value_info.h"

namespace pelorin::sqlite {
namespace {

std::string valueList(std::string_view prefix) {
    std::string list;
    for (const std::string_view name : ValueColumns()) {
        list.append(list.empty() ? "" : ", ").append(prefix).append(name);
    }
    return list;
}

// Version 1: the frames, each distinct frame once, and every line that carried one.
std::string createVersion1() {
    std::string sql =
        "CREATE TABLE frames (\n  id INTEGER PRIMARY KEY,\n"
        "  digits TEXT NOT NULL UNIQUE,\n";
    for (const std::string_view name : ValueColumns()) {
        sql.append("  ").append(name).append(" REAL,\n");
    }
    sql.append(
        "  suspect INTEGER NOT NULL DEFAULT 0,\n"
        "  first_received TEXT\n);\n"
        "CREATE INDEX frames_by_first_received ON frames (first_received, time_s);\n"
        // Without a rowid the key is the table itself: a reception costs no second copy.
        "CREATE TABLE receptions (\n"
        "  frame_id INTEGER NOT NULL REFERENCES frames (id),\n"
        "  received TEXT,\n"
        "  station TEXT NOT NULL DEFAULT '',\n"
        "  source TEXT NOT NULL,\n"
        "  line INTEGER NOT NULL,\n"
        "  PRIMARY KEY (frame_id, station, source, line)\n) WITHOUT ROWID;\n");
    return sql;
}

}  // namespace

const std::array<std::string_view, kValuesPerRecord>& ValueColumns() {
    static const std::array<std::string_view, kValuesPerRecord> columns = [] {
        std::array<std::string_view, kValuesPerRecord> all{};
        for (std::size_t k = 0; k < all.size(); ++k) {
            all[k] = kValueInfo[k].column;
        }
        return all;
    }();
    return columns;
}

std::string UpgradeFrom(int version) {
    switch (version) {
        case 0:
            return createVersion1();
        default:
            return {};
    }
}

std::string InsertFrameSql() {
    std::string sql = "INSERT INTO frames (digits, suspect, first_received, " + valueList("") +
                      ") VALUES (?1, ?2, ?3";
    for (int k = 0; k < kValuesPerRecord; ++k) {
        sql.append(", ?").append(std::to_string(k + 4));
    }
    return sql + ")";
}

std::string FindFrameSql() {
    return "SELECT id FROM frames WHERE digits = ?1";
}

std::string EarlierReceptionSql() {
    return "UPDATE frames SET first_received = ?2 WHERE id = ?1 AND "
           "(first_received IS NULL OR first_received > ?2)";
}

std::string InsertReceptionSql() {
    return "INSERT INTO receptions (frame_id, received, station, source, line) "
           "VALUES (?1, ?2, ?3, ?4, ?5) ON CONFLICT DO NOTHING";
}

std::string FramesWithReceptionsSql(std::string_view where, std::string_view order) {
    return "SELECT f.id, f.first_received, " + valueList("f.") +
           ", f.suspect, r.received, r.station, r.source, r.line, f.digits "
           "FROM frames f JOIN receptions r ON r.frame_id = f.id WHERE " +
           std::string(where) + " ORDER BY " + std::string(order);
}

std::string EveryEntrySql() {
    return "SELECT f.digits, f.suspect, " + valueList("f.") +
           ", r.received, r.station, r.source, r.line FROM frames f "
           "JOIN receptions r ON r.frame_id = f.id "
           "ORDER BY f.id, r.station, r.source, r.line";
}

std::string PassFramesSql(std::string_view where, std::string_view order) {
    return "SELECT id, first_received, time_s FROM frames WHERE " + std::string(where) +
           " ORDER BY " + std::string(order);
}

}  // namespace pelorin::sqlite
