#include "sqlite_schema.h"

#include "pelorin/value_info.h"

namespace pelorin::sqlite {
namespace {

// The function that packs the digits of an older archive on its way to version 2.
constexpr const char* kPackFunction = "pelorin_pack_digits";

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

// Version 2: the digits are kept packed, half their size, in the row and in the index that finds
// a frame again; `digits` shows them as text, computed when read. The frames are copied into
// the new table, ids and all.
std::string packDigitsVersion2() {
    std::string sql =
        "CREATE TABLE frames_packed (\n  id INTEGER PRIMARY KEY,\n"
        "  digits TEXT GENERATED ALWAYS AS (CASE typeof(packed_digits) WHEN 'blob' THEN "
        "hex(packed_digits) ELSE packed_digits END) VIRTUAL,\n";
    for (const std::string_view name : ValueColumns()) {
        sql.append("  ").append(name).append(" REAL,\n");
    }
    sql.append(
           "  suspect INTEGER NOT NULL DEFAULT 0,\n"
           "  first_received TEXT,\n"
           "  packed_digits NOT NULL UNIQUE\n);\n"
           "INSERT INTO frames_packed (id, ")
        .append(valueList(""))
        .append(", suspect, first_received, packed_digits) SELECT id, ")
        .append(valueList(""))
        .append(", suspect, first_received, ")
        .append(kPackFunction)
        .append(
            "(digits) FROM frames ORDER BY id;\n"
            "DROP TABLE frames;\n"
            "ALTER TABLE frames_packed RENAME TO frames;\n"
            "CREATE INDEX frames_by_first_received ON frames (first_received, time_s);\n");
    return sql;
}

// Beyond any digit's value, so that one test after the loop finds any byte that is no digit.
constexpr unsigned kNoDigit = 0x100;

// The value of each upper-case hexadecimal digit, kNoDigit for every other byte.
constexpr std::array<unsigned, 256> kDigitValue = [] {
    std::array<unsigned, 256> value{};
    value.fill(kNoDigit);
    for (int k = 0; k < 16; ++k) {
        value[static_cast<std::size_t>("0123456789ABCDEF"[k])] = static_cast<unsigned>(k);
    }
    return value;
}();

unsigned digitValue(char c) {
    return kDigitValue[static_cast<unsigned char>(c)];
}

extern "C" void packDigitsFunction(sqlite3_context* context, int /*count*/, sqlite3_value** args) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
    const std::string_view digits(text != nullptr ? text : "",
                                  static_cast<std::size_t>(sqlite3_value_bytes(args[0])));
    std::string packed;
    if (PackDigits(digits, packed)) {
        sqlite3_result_blob(context, packed.data(), static_cast<int>(packed.size()),
                            SQLITE_TRANSIENT);
    } else {
        sqlite3_result_text(context, packed.data(), static_cast<int>(packed.size()),
                            SQLITE_TRANSIENT);
    }
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
        case 1:
            return packDigitsVersion2();
        default:
            return {};
    }
}

bool PackDigits(std::string_view digits, std::string& packed) {
    packed.resize(digits.size() / 2);
    unsigned seen = digits.size() % 2 == 0 ? 0 : kNoDigit;
    for (std::size_t k = 0; k < packed.size(); ++k) {
        const unsigned high = digitValue(digits[2 * k]);
        const unsigned low = digitValue(digits[2 * k + 1]);
        seen |= high | low;
        packed[k] = static_cast<char>((high << 4) | low);
    }
    if ((seen & kNoDigit) != 0) {
        packed.assign(digits);
        return false;
    }
    return true;
}

void UnpackDigits(std::string_view bytes, std::string& digits) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    digits.resize(2 * bytes.size());
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        const auto byte = static_cast<unsigned char>(bytes[k]);
        digits[2 * k] = kHex[byte >> 4];
        digits[2 * k + 1] = kHex[byte & 0xF];
    }
}

void AddUpgradeFunctions(sqlite3* db) {
    sqlite3_create_function(db, kPackFunction, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            packDigitsFunction, nullptr, nullptr);
}

std::string BatchTableDeclaration() {
    return "CREATE TABLE x (packed, suspect, received, station, source, line, frame_id, "
           "first_in_batch, new_frame, archived, " +
           valueList("") + ")";
}

std::string LastFrameIdSql() {
    return "SELECT coalesce(max(id), 0) FROM frames";
}

// CROSS JOIN keeps the batch outside: one search of the index a distinct frame of the batch.
std::string FindBatchFramesSql() {
    return std::string("SELECT b.rowid, f.id FROM ") + kBatchTable +
           " b CROSS JOIN frames f ON f.packed_digits = b.packed WHERE b.first_in_batch";
}

std::string InsertBatchFramesSql() {
    return "INSERT INTO frames (id, packed_digits, suspect, first_received, " + valueList("") +
           ") SELECT frame_id, packed, suspect, received, " + valueList("") + " FROM " +
           kBatchTable + " WHERE new_frame";
}

std::string InsertBatchReceptionsSql(bool ofArchivedFrames) {
    return std::string(
               "INSERT INTO receptions (frame_id, received, station, source, line) "
               "SELECT frame_id, received, station, source, line FROM ") +
           kBatchTable + (ofArchivedFrames ? " WHERE archived" : " WHERE NOT archived") +
           " ON CONFLICT DO NOTHING";
}

std::string EarliestReceptionSql() {
    return "UPDATE frames SET first_received = "
           "(SELECT min(received) FROM receptions WHERE frame_id = ?1) WHERE id = ?1";
}

std::string FramesWithReceptionsSql(std::string_view where, std::string_view order,
                                    std::string_view digits) {
    return "SELECT f.id, f.first_received, f.suspect, r.received, r.station, r.source, r.line, " +
           std::string(digits) + " FROM frames f JOIN receptions r ON r.frame_id = f.id WHERE " +
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
