#include "pelorin/archive_store.h"

#include <array>
#include <string_view>

#include "pelorin/frame_marker.h"
#include "sqlite_store.h"

namespace pelorin {
namespace {

// Locations that name a database server, which this build has no engine for.
constexpr std::array<std::string_view, 2> kServerSchemes = {"postgresql://", "postgres://"};

}  // namespace

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
    for (const std::string_view scheme : kServerSchemes) {
        if (location.starts_with(scheme)) {
            // Not named: a server's location may hold its password.
            throw ArchiveError(
                "could not open the archive: this build keeps archives in files, not on a "
                "database server");
        }
    }
    return std::make_unique<SqliteStore>(location, access);
}

}  // namespace pelorin
