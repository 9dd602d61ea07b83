#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "archive_lines.h"
#include "pelorin/archive_store.h"
#include "pelorin/value_info.h"
#include "temp_folder.h"

namespace {

using pelorin::ArchiveEntry;

// Runs `sql` on the file at `path`, binding `entry` (when given) to ?1..?41 as a version 1
// frame row takes it, and gives the rows' columns as text.
std::vector<std::vector<std::string>> query(const std::string& path, const std::string& sql,
                                            const ArchiveEntry* entry = nullptr, int id = 0) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    std::vector<std::vector<std::string>> rows;
    for (const char* rest = sql.c_str(); *rest != '\0';) {
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, rest, -1, &st, &rest), SQLITE_OK) << sqlite3_errmsg(db);
        if (st == nullptr) {
            break;
        }
        if (entry != nullptr) {
            sqlite3_bind_int(st, 1, id);
            sqlite3_bind_text(st, 2, entry->digits.c_str(), -1, SQLITE_TRANSIENT);
            for (int k = 0; k < pelorin::kValuesPerRecord; ++k) {
                sqlite3_bind_double(st, k + 3, entry->values[static_cast<std::size_t>(k)]);
            }
            sqlite3_bind_int(st, pelorin::kValuesPerRecord + 3, entry->suspect ? 1 : 0);
        }
        while (sqlite3_step(st) == SQLITE_ROW) {
            rows.emplace_back();
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const auto* text = sqlite3_column_text(st, c);
                rows.back().emplace_back(text != nullptr ? reinterpret_cast<const char*>(text)
                                                         : "NULL");
            }
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return rows;
}

// The tables as the first version of the archive made them.
std::string version1Tables() {
    std::string columns;
    for (const pelorin::ValueInfo& info : pelorin::kValueInfo) {
        columns.append(std::string(info.column)).append(" REAL, ");
    }
    return "CREATE TABLE frames (id INTEGER PRIMARY KEY, digits TEXT NOT NULL UNIQUE, " + columns +
           "suspect INTEGER NOT NULL DEFAULT 0, first_received TEXT);"
           "CREATE INDEX frames_by_first_received ON frames (first_received, time_s);"
           "CREATE TABLE receptions (frame_id INTEGER NOT NULL REFERENCES frames (id), received "
           "TEXT, station TEXT NOT NULL DEFAULT '', source TEXT NOT NULL, line INTEGER NOT NULL, "
           "PRIMARY KEY (frame_id, station, source, line)) WITHOUT ROWID;"
           "PRAGMA user_version = 1;";
}

// An archive of the first version, with a frame of hexadecimal digits and a suspect one whose
// digits hold a letter that is no digit and a character beyond ASCII, keeps its frames, their
// ids, digits, values and receptions when it is upgraded, and finds them again.
TEST(ArchiveUpgrade, AnArchiveOfTheFirstVersionIsUpgradedInPlace) {
    std::string odd = testframes::lineWithTime(120);
    odd.replace(odd.size() - 2, 2, "\xC3\x84Z");  // "ÄZ": still 112 characters
    const auto entries = testarchive::entries(
        {testarchive::logLine(60, "2026-12-08T10:00:00Z"), "2026-12-08T10:01:00Z " + odd}, "W1",
        "old.log");
    ASSERT_EQ(entries.size(), 2U);
    ASSERT_TRUE(entries[1].suspect);
    TempFolder folder;
    const std::string path = (folder / "old.sqlite").string();
    query(path, version1Tables());
    std::string insert = "INSERT INTO frames VALUES (?1, ?2";
    for (int k = 0; k < pelorin::kValuesPerRecord + 1; ++k) {
        insert += ", ?" + std::to_string(k + 3);
    }
    insert +=
        ", '2026-12-08T10:00:00.000Z'); INSERT INTO receptions VALUES "
        "(?1, '2026-12-08T10:00:00.000Z', 'W1', 'old.log', ?1)";
    for (std::size_t k = 0; k < entries.size(); ++k) {
        query(path, insert, &entries[k], static_cast<int>(7 + 2 * k));
    }

    const auto store = pelorin::OpenArchive(path, pelorin::ArchiveAccess::Write);
    EXPECT_EQ(query(path, "PRAGMA user_version"), (std::vector<std::vector<std::string>>{{"2"}}));
    EXPECT_EQ(query(path, "SELECT id, digits, typeof(packed_digits) FROM frames ORDER BY id"),
              (std::vector<std::vector<std::string>>{{"7", entries[0].digits, "blob"},
                                                     {"9", entries[1].digits, "text"}}));
    std::vector<pelorin::TelemetryRecord> values;
    store->forEachFrame({}, [&values](const auto& f) { values.push_back(f.values); });
    EXPECT_EQ(values, (std::vector{entries[0].values, entries[1].values}));
    // The same frames again are known; their lines are new receptions only where they differ.
    const pelorin::AddCounts again = store->add(entries);
    EXPECT_EQ(again.newFrames, 0);
    EXPECT_EQ(again.knownFrames, 2);
    EXPECT_EQ(again.newReceptions, 2);
    EXPECT_EQ(store->stats().receptions, 4);
    EXPECT_EQ(store->stats().frames, 2);
}

}  // namespace
