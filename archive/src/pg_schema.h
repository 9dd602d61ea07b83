#pragma once

#include <string>
#include <string_view>

namespace pelorin::pg {

// The version this program writes, kept in the table archive_version; the same numbering as
// the file archives'.
inline constexpr int kSchemaVersion = 1;
// Serialises the making of the tables among stations that first use an archive together.
inline constexpr std::string_view kUpgradeLockKey = "7078101108";

// The statements that bring an archive of `version` (0 for none) to the next one: the file
// archives' tables and names, with the server's types.
std::string UpgradeFrom(int version);
// What an administrator runs once: the tables at this version, and a role `role` for the
// stations that may read, add, and move a frame's first reception earlier.
std::string AdministratorSql(std::string_view role);

// Statements of the store, in one place with the tables they work on.
std::string SessionSql();
std::string WriterSessionSql();
std::string BeginBatchSql();
std::string CreateIncomingSql();
std::string CopyIncomingSql();
std::string AddBatchSql();
}  // namespace pelorin::pg
