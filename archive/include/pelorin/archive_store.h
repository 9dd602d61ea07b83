#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "pelorin/line_reading.h"
#include "pelorin/reception_time.h"
#include "pelorin/telemetry_table.h"

namespace pelorin {

// One telemetry line to be archived: its frame and where and when it was heard.
struct ArchiveEntry {
    std::string digits;  // the 112 characters after the marker, upper-cased, UTF-8
    TelemetryRecord values{};
    bool suspect = false;  // a character among the digits is no hexadecimal digit
    std::optional<UtcMillis> received;
    std::string station;    // "" when not named
    std::string source;     // the log's absolute path, "-" for standard input, "paste"
    std::int64_t line = 0;  // 1-based, in the source
};

// What one add brought.
struct AddCounts {
    std::int64_t newFrames = 0;
    std::int64_t knownFrames = 0;  // entries whose frame was archived already
    std::int64_t newReceptions = 0;

    AddCounts& operator+=(const AddCounts& other);
};

// Times between `since` and `until`, both included; an open side when not given.
struct TimeRange {
    std::optional<UtcMillis> since;
    std::optional<UtcMillis> until;
};

// A run of frames heard close together: within kPassGap of the previous frame's first reception
// or, for frames never given a reception time, of its on-board time.
struct PassSummary {
    std::int64_t number = 0;  // 1-based, in the export's order
    bool timed = false;       // grouped by reception time; else by on-board time
    // Reception times (timed) or on-board times in ms (untimed) of the first and last frame.
    std::int64_t start = 0;
    std::int64_t end = 0;
    std::int64_t frames = 0;
    std::int64_t receptions = 0;
    std::int64_t stations = 0;  // distinct station names, "" counting as one
    // The frames it spans, for finding them again: first receptions (timed) or frame ids.
    std::int64_t firstKey = 0;
    std::int64_t lastKey = 0;
};

// One archived frame, as export reads it.
struct ArchivedFrame {
    std::int64_t id = 0;
    TelemetryRecord values{};
    RawRecord raw{};     // the fields' readings, from which the values were scaled
    std::string digits;  // as archived: the 112 characters after the marker
    bool suspect = false;
    std::optional<UtcMillis> firstReceived;
    // The first reception's source and line: the earliest one, or the first in key order.
    std::string source;
    std::int64_t line = 0;
    std::vector<std::string> stations;  // distinct, sorted
};

// One frame as a chart reads it: its id, first reception and the values asked for, in the order
// they were asked for.
struct ChartFrame {
    std::int64_t id = 0;
    std::optional<UtcMillis> firstReceived;
    std::span<const double> values;
};

// A stretch of frame ids, both ends included: by default every id.
struct FrameIds {
    std::int64_t first = std::numeric_limits<std::int64_t>::min();
    std::int64_t last = std::numeric_limits<std::int64_t>::max();
};

struct FrameQuery {
    TimeRange range;                   // on the first reception; frames without one are left out
    std::optional<std::int64_t> pass;  // only the frames of this pass number
};

struct ArchiveStats {
    std::int64_t frames = 0;
    std::int64_t receptions = 0;
    std::int64_t stations = 0;
    std::optional<UtcMillis> firstReception;
    std::optional<UtcMillis> lastReception;
    std::int64_t passes = 0;
    std::int64_t fileBytes = 0;  // what the archive takes on disk
};

// Anything that keeps an archive from being opened, read or written; what() names it and says
// why.
class ArchiveError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// An archive, whatever engine keeps it. Every call that fails throws ArchiveError and leaves the
// archive as it was before that call.
class ArchiveStore {
  public:
    virtual ~ArchiveStore() = default;

    // Where it is, as given to OpenArchive.
    virtual const std::string& location() const = 0;
    // Adds the entries in one transaction, visible to other readers once it returns. A frame
    // already archived gets only the reception; a reception already archived (same frame,
    // station, source and line) is left as it is.
    virtual AddCounts add(std::span<const ArchiveEntry> entries) = 0;
    // All passes that overlap `range`, in order.
    virtual std::vector<PassSummary> passes(const TimeRange& range) = 0;
    // The frames asked for: by first reception, then those without one by on-board time.
    virtual void forEachFrame(const FrameQuery& query,
                              const std::function<void(const ArchivedFrame&)>& visit) = 0;
    virtual ArchiveStats stats() = 0;
    // Every frame of `ids`, in no set order, with only the values `valueIndices` (each 0..35):
    // a narrow read for charts of a large archive, which stretches of ids split among readers.
    virtual void forEachChartFrame(std::span<const int> valueIndices, FrameIds ids,
                                   const std::function<void(const ChartFrame&)>& visit) = 0;
    // Every reception's frame id and station of the frames `ids`, by frame id.
    virtual void forEachStation(
        FrameIds ids,
        const std::function<void(std::int64_t frameId, std::string_view station)>& visit) = 0;
    // The largest frame id, 0 when there is none. Every new frame raises it: a cheap look for
    // frames that came since.
    virtual std::int64_t newestFrame() = 0;
    // Every reception with its frame, as add takes them, frame by frame in the order the frames
    // were archived.
    virtual void forEachEntry(const std::function<void(const ArchiveEntry&)>& visit) = 0;
};

// The fields' readings of an archived frame's digits, as the decoder reads them after the marker.
void ReadArchivedDigits(std::string_view digits, RawRecord& raw);

enum class ArchiveAccess {
    Read,   // an archive that is not there is an error
    Write,  // made, with its folders, when not there; an older one is upgraded
};

// Opens the archive at `location`: a file path for SQLite, or a postgresql:// or postgres://
// URI for a PostgreSQL database (its password from libpq's own sources). A file that is no
// archive, or one of a newer schema, is refused and never written.
std::unique_ptr<ArchiveStore> OpenArchive(const std::string& location, ArchiveAccess access);

// Adds to `to` every frame and reception of `from` that it lacks, in batches of `batch`
// entries, each committed whole: a copy cut short and run again ends as one run to the end,
// and a second copy adds nothing. `keepGoing` is asked before each batch; false stops the copy.
AddCounts CopyArchive(
    ArchiveStore& from, ArchiveStore& to, std::size_t batch,
    const std::function<bool()>& keepGoing = [] { return true; });

// The role that stations sharing a PostgreSQL archive log in as members of.
inline constexpr std::string_view kStationRole = "pelorin_station";

// The SQL that an administrator runs once on a PostgreSQL database for a shared archive: the
// tables at this version and kStationRole, which may read and insert (and move a frame's first
// reception earlier) but not delete.
std::string SharedArchiveSetupSql();

}  // namespace pelorin
