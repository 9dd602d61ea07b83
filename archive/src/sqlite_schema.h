#pragma once

#include <array>
#include <string>
#include <string_view>

#include "pelorin/telemetry_table.h"

namespace pelorin::sqlite {

// The version this program writes, kept in PRAGMA user_version; 0 is a new, empty file.
inline constexpr int kSchemaVersion = 1;

// The column of each of the 36 values: pelorin-decode's names, and one for value 35.
const std::array<std::string_view, kValuesPerRecord>& ValueColumns();

// The statements that bring an archive of `version` (0 for a new file) to the next one.
std::string UpgradeFrom(int version);

// Statements of the store, in one place with the tables they work on.
std::string InsertFrameSql();
std::string FindFrameSql();
std::string EarlierReceptionSql();
std::string InsertReceptionSql();
// Frames with their receptions: id, first_received, the 36 values, suspect, then the
// reception's received, station, source and line. `where` and `order` complete it.
std::string FramesWithReceptionsSql(std::string_view where, std::string_view order);
// Every reception with its frame: digits, suspect, the 36 values, received, station, source,
// line; by frame id, then the reception's key.
std::string EveryEntrySql();
// Frames in pass order: id, first_received, time_s.
std::string PassFramesSql(std::string_view where, std::string_view order);

}  // namespace pelorin::sqlite
