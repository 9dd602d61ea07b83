#pragma once

#include <sqlite3.h>

#include <array>
#include <string>
#include <string_view>

#include "pelorin/telemetry_table.h"

namespace pelorin::sqlite {

// The version this program writes, kept in PRAGMA user_version; 0 is a new, empty file.
inline constexpr int kSchemaVersion = 2;

// The table through which each step of an add reads the whole batch at once.
inline constexpr const char* kBatchTable = "pelorin_batch";

// The column of each of the 36 values: pelorin-decode's names, and one for value 35.
const std::array<std::string_view, kValuesPerRecord>& ValueColumns();

// The statements that bring an archive of `version` (0 for a new file) to the next one.
std::string UpgradeFrom(int version);

// The digits as the frames table keeps them in packed_digits: true and their bytes, two digits
// a byte, when all are upper-case hexadecimal digits; else false and the text as it is.
bool PackDigits(std::string_view digits, std::string& packed);

// The digits that PackDigits packed to `bytes`.
void UnpackDigits(std::string_view bytes, std::string& digits);

// The functions that UpgradeFrom's statements call; added to each connection that upgrades.
void AddUpgradeFunctions(sqlite3* db);

// The columns of kBatchTable, in the order of BatchTable::Column.
std::string BatchTableDeclaration();

// The steps of an add, each over the whole batch: the largest frame id; the batch's frames
// that are archived (batch row, id); its new frames; the receptions of its new frames, or of
// the frames archived before it.
std::string LastFrameIdSql();
std::string FindBatchFramesSql();
std::string InsertBatchFramesSql();
std::string InsertBatchReceptionsSql(bool ofArchivedFrames);
// Sets frame ?1's first reception to the earliest of its receptions.
std::string EarliestReceptionSql();
// Frames with their receptions: id, first_received, suspect, then the reception's received,
// station, source and line, and the frame's `digits` (a column as the engine keeps them).
// `where` and `order` complete it.
std::string FramesWithReceptionsSql(std::string_view where, std::string_view order,
                                    std::string_view digits = "f.digits");
// Every reception with its frame: digits, suspect, the 36 values, received, station, source,
// line; by frame id, then the reception's key.
std::string EveryEntrySql();
// Frames in pass order: id, first_received, time_s.
std::string PassFramesSql(std::string_view where, std::string_view order);

}  // namespace pelorin::sqlite
