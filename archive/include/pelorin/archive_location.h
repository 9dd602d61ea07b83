#pragma once

#include <optional>
#include <string>

namespace pelorin {

// The environment variable that chooses the archive when no --archive is given.
inline constexpr const char* kArchiveVariable = "PELORIN_ARCHIVE";

// The archive to use: `given` (--archive), else $PELORIN_ARCHIVE, else
// $XDG_DATA_HOME/pelorin/archive.sqlite (~/.local/share/pelorin/archive.sqlite). Empty when
// there is no home to put it in.
std::string ArchiveLocation(const std::optional<std::string>& given);

}  // namespace pelorin
