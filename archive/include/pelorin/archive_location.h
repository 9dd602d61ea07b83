#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelorin {

// The environment variable that chooses the archive when no --archive is given.
inline constexpr const char* kArchiveVariable = "PELORIN_ARCHIVE";

// The archive to use: `given` (--archive), else $PELORIN_ARCHIVE, else
// $XDG_DATA_HOME/pelorin/archive.sqlite (~/.local/share/pelorin/archive.sqlite). Empty when
// there is no home to put it in.
std::string ArchiveLocation(const std::optional<std::string>& given);

// The local archive file, whatever PELORIN_ARCHIVE says: $XDG_DATA_HOME/pelorin/archive.sqlite
// or ~/.local/share/pelorin/archive.sqlite; empty without a home.
std::string DefaultArchiveFile();

// Whether `location` names a database server (a postgresql:// or postgres:// URI) rather than
// a file.
bool IsServerLocation(std::string_view location);

// `location` as it may be shown: a server URI without the password in its user part or its
// password= parameter; a file path as it is.
std::string RedactLocation(std::string_view location);

}  // namespace pelorin
