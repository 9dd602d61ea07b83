#include "sqlite_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <thread>

#include "frame_rows.h"
#include "pelorin/pass_grouper.h"
#include "sqlite_schema.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagic{"SQLite format 3\0", 16};
constexpr std::size_t kHeaderBytes = 100;
constexpr std::size_t kPageSizeAt = 16;
constexpr std::size_t kPageCountAt = 28;
constexpr std::size_t kUserVersionAt = 60;
constexpr std::uint32_t kLargestPageMark = 1;  // the header's way of writing 65536
constexpr std::uint32_t kLargestPage = 65536;
// A writer waits this long for another one before trying again, and tries this often: a
// minute in all, far more than any batch of either program takes. It looks every few
// milliseconds, so that it gets in between the batches of a large add, which leaves the archive
// free while it reads and decodes the next batch.
constexpr int kBusyMilliseconds = 5000;
constexpr int kBusyTries = 12;
constexpr long kBusyPollNanoseconds = 2'000'000;
constexpr int kBusyPolls = kBusyMilliseconds / 2;
// Enough pages in memory that the frames' index of a large archive is mostly at hand.
constexpr std::string_view kCacheKibibytes = "-65536";
// Large pages hold many rows apiece, so that a batch is written, and read back by the
// checkpoint, in few calls; a checkpoint, on a thread of its own, every 64 MB of the log.
constexpr std::string_view kPageBytes = "32768";
constexpr int kCheckpointPages = 2048;
constexpr std::string_view kEarliest = "0000";
constexpr std::string_view kLatest = "9999";

std::uint32_t bigEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int k = 0; k < count; ++k) {
        value = (value << 8) | bytes[k];
    }
    return value;
}

extern "C" int waitForOtherWriter(void* /*unused*/, int polls) {
    if (polls >= kBusyPolls) {
        return 0;
    }
    const timespec interval{0, kBusyPollNanoseconds};
    ::nanosleep(&interval, nullptr);
    return 1;
}

bool isBusy(int code) {
    return (code & 0xFF) == SQLITE_BUSY || (code & 0xFF) == SQLITE_LOCKED;
}

std::string timeText(std::optional<UtcMillis> time, std::string_view otherwise) {
    return time ? FormatUtcTime(*time) : std::string(otherwise);
}

// The frames query's rows with the digits as packed_digits keeps them, handed out as text.
class PackedDigitsRows {
  public:
    explicit PackedDigitsRows(sqlite::Statement& rows) : rows_(rows) {}
    bool step() { return rows_.step(); }
    bool isNull(int column) const { return rows_.isNull(column); }
    std::int64_t integer(int column) const { return rows_.integer(column); }
    std::string_view text(int column) const {
        if (column != kDigitsColumn || !rows_.isBlob(column)) {
            return rows_.text(column);
        }
        sqlite::UnpackDigits(rows_.blob(column), digits_);
        return digits_;
    }

  private:
    sqlite::Statement& rows_;
    mutable std::string digits_;
};

}  // namespace

SqliteStore::SqliteStore(std::string path, ArchiveAccess access) : path_(std::move(path)) {
    try {
        open(access);
    } catch (const sqlite::Failure& failure) {
        fail("open", failure);
    }
}

SqliteStore::~SqliteStore() {
    writer_.reset();
    checkpointer_.reset();
}

void SqliteStore::fail(std::string_view doing, const sqlite::Failure& failure) const {
    const int code = failure.code & 0xFF;
    if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT) {
        throw ArchiveError(path_ + " is not an archive: " + failure.text);
    }
    throw ArchiveError("could not " + std::string(doing) + " the archive " + path_ + ": " +
                       failure.text);
}

void SqliteStore::refuseNewer(int version) const {
    if (version > sqlite::kSchemaVersion) {
        throw ArchiveError(path_ + " is an archive of a newer version (" + std::to_string(version) +
                           ") than this program knows (" + std::to_string(sqlite::kSchemaVersion) +
                           "); it was left alone");
    }
}

// Looks at the file's first bytes before the engine does, so that nothing is written to a file
// of another kind, or to a copy that lost its end.
void SqliteStore::refuseWhatIsNoArchive() const {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return;  // the engine says why
    }
    std::array<unsigned char, kHeaderBytes> header{};
    const ssize_t got = ::read(fd, header.data(), header.size());
    struct stat st {};
    const bool sized = ::fstat(fd, &st) == 0;
    ::close(fd);
    if (got == 0) {
        return;  // an empty file becomes an archive
    }
    const std::string_view start(reinterpret_cast<const char*>(header.data()),
                                 static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    if (got < static_cast<ssize_t>(kHeaderBytes) || !start.starts_with(kMagic)) {
        throw ArchiveError(path_ + " is not an archive: it is no database file");
    }
    refuseNewer(static_cast<int>(bigEndian(header.data() + kUserVersionAt, 4)));
    std::uint32_t pageSize = bigEndian(header.data() + kPageSizeAt, 2);
    pageSize = pageSize == kLargestPageMark ? kLargestPage : pageSize;
    const std::uint64_t pages = bigEndian(header.data() + kPageCountAt, 4);
    // A checkpoint cut short by a crash leaves the file short of its header's size, with every
    // page still in the write-ahead log beside it: that file is whole.
    std::error_code ec;
    const bool logged = fs::file_size(path_ + "-wal", ec) > 0 && !ec;
    if (sized && !logged && pages * pageSize > static_cast<std::uint64_t>(st.st_size)) {
        throw ArchiveError(path_ + " is not an archive: it is cut short (" +
                           std::to_string(st.st_size) + " of " + std::to_string(pages * pageSize) +
                           " bytes)");
    }
}

void SqliteStore::open(ArchiveAccess access) {
    const bool writing = access == ArchiveAccess::Write;
    if (!fs::exists(path_)) {
        if (!writing) {
            throw ArchiveError("could not open the archive " + path_ +
                               ": there is none; add to it first");
        }
        if (const fs::path folder = fs::path(path_).parent_path(); !folder.empty()) {
            std::error_code ec;
            fs::create_directories(folder, ec);
        }
    }
    refuseWhatIsNoArchive();
    db_ = std::make_unique<sqlite::Connection>(path_, writing, writing);
    sqlite3_busy_handler(db_->handle(), waitForOtherWriter, nullptr);
    // One statement, so that version and tables come from one state of the file, even while
    // another writer makes it an archive.
    sqlite::Statement look(db_->handle(),
                           "SELECT (SELECT user_version FROM pragma_user_version), count(*), "
                           "count(CASE WHEN name = 'frames' THEN 1 END) "
                           "FROM sqlite_master WHERE type = 'table'");
    look.step();
    const int found = static_cast<int>(look.integer(0));
    const bool empty = look.integer(1) == 0;
    const bool hasFrames = look.integer(2) == 1;
    look.reset();
    refuseNewer(found);
    if ((found == 0 && !empty) || (found > 0 && !hasFrames)) {
        throw ArchiveError(path_ + " is not an archive: it holds other tables");
    }
    if (!writing && found < sqlite::kSchemaVersion) {
        throw ArchiveError("could not read the archive " + path_ +
                           (found == 0 ? ": it is empty" : ": it needs an upgrade; add to it"));
    }
    if (writing) {
        // Changing the journal takes the file for a moment, and a writer that starts beside
        // another one waits for it.
        whileBusy([&] {
            if (empty) {
                db_->execute(std::string("PRAGMA page_size = ") + std::string(kPageBytes));
            }
            db_->execute("PRAGMA journal_mode = WAL");
        });
        checkpointer_ =
            std::make_unique<sqlite::Checkpointer>(path_, db_->handle(), kCheckpointPages);
        db_->execute("PRAGMA synchronous = NORMAL");
        db_->execute(std::string("PRAGMA cache_size = ") + std::string(kCacheKibibytes));
        upgrade();
        writer_ = std::make_unique<sqlite::BatchWriter>(db_->handle());
    }
}

// Brings an older archive, or a new file, to this version step by step, each step whole or not
// at all; a second writer doing the same waits and then finds nothing left to do.
void SqliteStore::upgrade() {
    sqlite::AddUpgradeFunctions(db_->handle());
    beginWriting();
    try {
        sqlite::Statement version(db_->handle(), "PRAGMA user_version");
        version.step();
        const int found = static_cast<int>(version.integer(0));
        // A statement still reading would keep a table from being dropped.
        version.reset();
        for (int v = found; v < sqlite::kSchemaVersion; ++v) {
            db_->execute(sqlite::UpgradeFrom(v));
            db_->execute("PRAGMA user_version = " + std::to_string(v + 1));
        }
        db_->execute("COMMIT");
    } catch (const sqlite::Failure&) {
        sqlite3_exec(db_->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

// Takes the write lock, waiting for another writer as long as it is reasonable to.
void SqliteStore::beginWriting() {
    whileBusy([this] { db_->execute("BEGIN IMMEDIATE"); });
}

void SqliteStore::whileBusy(const std::function<void()>& step) {
    for (int attempt = 1;; ++attempt) {
        try {
            step();
            return;
        } catch (const sqlite::Failure& failure) {
            if (!isBusy(failure.code) || attempt == kBusyTries) {
                throw;
            }
        }
    }
}

AddCounts SqliteStore::add(std::span<const ArchiveEntry> entries) {
    if (!writer_) {
        throw ArchiveError("could not write the archive " + path_ + ": it was opened to read");
    }
    try {
        beginWriting();
    } catch (const sqlite::Failure& failure) {
        fail("write", failure);
    }
    try {
        const AddCounts counts = writer_->add(entries);
        db_->execute("COMMIT");
        return counts;
    } catch (const sqlite::Failure& failure) {
        // A failed COMMIT may leave the transaction open; end it whatever state it is in.
        sqlite3_exec(db_->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        fail("write", failure);
    }
}

// Two plain scans, the frames in pass order and the receptions in the table's order, meet in
// a table of each frame's pass: no search per frame.
std::vector<PassSummary> SqliteStore::passes(const TimeRange& range) {
    std::vector<PassSummary> all;
    try {
        sqlite::Statement last(db_->handle(), "SELECT max(id) FROM frames");
        last.step();
        all = GroupPasses(last.integer(0), range, [this](const std::string& sql, const auto& each) {
            sqlite::Statement rows(db_->handle(), sql);
            each(rows);
        });
    } catch (const sqlite::Failure& failure) {
        fail("read", failure);
    }
    return all;
}

void SqliteStore::forEachFrame(const FrameQuery& query,
                               const std::function<void(const ArchivedFrame&)>& visit) {
    constexpr std::string_view kTimed =
        "f.first_received IS NOT NULL AND f.first_received >= ?1 AND f.first_received <= ?2";
    constexpr std::string_view kTimedOrder = "f.first_received, f.time_s, f.id";
    constexpr std::string_view kUntimedOrder = "f.time_s, f.id";
    try {
        ScanQueriedFrames(
            query, [this] { return passes({}); },
            [&](FrameScan scan, const TimeRange& bounds) {
                switch (scan) {
                    case FrameScan::Timed:
                        return scanFrames(kTimed, kTimedOrder, bounds, visit);
                    case FrameScan::Untimed:
                        return scanFrames("f.first_received IS NULL", kUntimedOrder, {}, visit);
                    case FrameScan::UntimedIds:
                        return scanFrames("f.first_received IS NULL AND f.id >= ?1 AND f.id <= ?2",
                                          kUntimedOrder, bounds, visit);
                }
            });
    } catch (const sqlite::Failure& failure) {
        fail("read", failure);
    }
}

// Runs the frames-with-receptions query with `bounds` as ?1 and ?2 (times, or frame ids for a
// query that compares ids), and hands out each frame once all its receptions are read.
void SqliteStore::scanFrames(std::string_view where, std::string_view order, TimeRange bounds,
                             const std::function<void(const ArchivedFrame&)>& visit) {
    sqlite::Statement rows(db_->handle(),
                           sqlite::FramesWithReceptionsSql(where, order, "f.packed_digits"));
    if (where.find("?1") != std::string_view::npos) {
        if (where.find("f.id") != std::string_view::npos) {
            rows.bind(1, bounds.since.value_or(0));
            rows.bind(2, bounds.until.value_or(0));
        } else {
            rows.bind(1, std::string_view(timeText(bounds.since, kEarliest)));
            rows.bind(2, std::string_view(timeText(bounds.until, kLatest)));
        }
    }
    PackedDigitsRows packed(rows);
    VisitFrameRows(packed, visit);
}

ArchiveStats SqliteStore::stats() {
    ArchiveStats stats;
    try {
        sqlite::Statement frames(db_->handle(), "SELECT count(*) FROM frames");
        frames.step();
        stats.frames = frames.integer(0);
        sqlite::Statement receptions(db_->handle(),
                                     "SELECT count(*), count(DISTINCT station), min(received), "
                                     "max(received) FROM receptions");
        receptions.step();
        stats.receptions = receptions.integer(0);
        stats.stations = receptions.integer(1);
        stats.firstReception = TimeIn(receptions, 2);
        stats.lastReception = TimeIn(receptions, 3);
    } catch (const sqlite::Failure& failure) {
        fail("read", failure);
    }
    stats.passes = static_cast<std::int64_t>(passes({}).size());
    for (const std::string& file : {path_, path_ + "-wal"}) {
        std::error_code ec;
        const std::uintmax_t size = fs::file_size(file, ec);
        stats.fileBytes += ec ? 0 : static_cast<std::int64_t>(size);
    }
    return stats;
}

void SqliteStore::forEachEntry(const std::function<void(const ArchiveEntry&)>& visit) {
    try {
        sqlite::Statement rows(db_->handle(), sqlite::EveryEntrySql());
        VisitEntryRows(rows, visit);
    } catch (const sqlite::Failure& failure) {
        fail("read", failure);
    }
}

}  // namespace pelorin
