#include "pelorin/archive_store.h"

#include "pelorin/archive_location.h"
#include "pelorin/frame_marker.h"
#include "pg_schema.h"
#include "pg_store.h"
#include "sqlite_store.h"

namespace pelorin {

AddCounts& AddCounts::operator+=(const AddCounts& other) {
    newFrames += other.newFrames;
    knownFrames += other.knownFrames;
    newReceptions += other.newReceptions;
    return *this;
}

void ReadArchivedDigits(std::string_view digits, RawRecord& raw) {
    std::string line;
    line.reserve(FrameMarker.size() + digits.size());
    line.append(FrameMarker).append(digits);
    ReadLine(line, raw);
}

std::unique_ptr<ArchiveStore> OpenArchive(const std::string& location, ArchiveAccess access) {
    if (location.empty()) {
        throw ArchiveError("no archive location: set HOME, XDG_DATA_HOME or PELORIN_ARCHIVE");
    }
    if (IsServerLocation(location)) {
        return std::make_unique<PostgresStore>(location, access);
    }
    return std::make_unique<SqliteStore>(location, access);
}

std::string SharedArchiveSetupSql() {
    return pg::AdministratorSql(kStationRole);
}

}  // namespace pelorin
