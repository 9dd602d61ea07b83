#include "pg_store.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "frame_rows.h"
#include "pelorin/archive_location.h"
#include "pelorin/number_text.h"
#include "pelorin/pass_grouper.h"
#include "pg_copy_rows.h"
#include "pg_schema.h"
#include "sqlite_schema.h"

namespace pelorin {
namespace {

// A transaction that the server ended to break a wait in a circle (writers bringing the same
// frames in different orders), or to keep writers consistent, is run again; this many times at
// most.
constexpr int kWriteTries = 16;
constexpr std::array<std::string_view, 2> kRetryStates = {"40P01", "40001"};
constexpr std::string_view kEarliest = "0000";
constexpr std::string_view kLatest = "9999";
constexpr std::string_view kTimed =
    "f.first_received IS NOT NULL AND f.first_received >= $1 AND f.first_received <= $2";
// Within a frame, receptions in key order, as the file archives keep them.
constexpr std::string_view kTimedOrder =
    "f.first_received, f.time_s, f.id, r.station, r.source, r.line";
constexpr std::string_view kUntimedOrder = "f.time_s, f.id, r.station, r.source, r.line";

std::string timeText(std::optional<UtcMillis> time, std::string_view otherwise) {
    return time ? FormatUtcTime(*time) : std::string(otherwise);
}

// Fields of a row of the table incoming, in CopyIncomingSql's order.
constexpr int kIncomingFields = 9 + kValuesPerRecord;
// Times one batch's statement is run to catch frames that other writers were adding at the same
// time; the second run sees them all, since the first waited for those writers to finish.
constexpr int kBatchRuns = 3;

// A frame of a batch: the index of its first entry and its earliest reception there.
struct BatchFrame {
    std::size_t first = 0;
    std::optional<UtcMillis> earliest;
};

// A reception's identity: frame (by its first entry), station, source and line.
struct ReceptionKey {
    std::size_t frame;
    std::string_view station;
    std::string_view source;
    std::int64_t line;
    bool operator==(const ReceptionKey&) const = default;
};

struct ReceptionKeyHash {
    std::size_t operator()(const ReceptionKey& r) const {
        const std::hash<std::string_view> text;
        return r.frame ^ (text(r.station) * 31) ^ (text(r.source) * 131) ^
               static_cast<std::size_t>(r.line) * 1000003;
    }
};

// The entries as rows of the table incoming, each naming its frame's first entry, which alone
// carries the frame's digits, values and earliest reception. A line heard again in the batch
// adds no reception, so its time does not count.
std::string copyRows(std::span<const ArchiveEntry> entries) {
    std::unordered_map<std::string_view, BatchFrame> frames;
    std::unordered_set<ReceptionKey, ReceptionKeyHash> receptions;
    std::vector<std::size_t> frameOf(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const ArchiveEntry& e = entries[k];
        const auto at = frames.try_emplace(e.digits, BatchFrame{k, {}}).first;
        frameOf[k] = at->second.first;
        const bool fresh = receptions.insert({frameOf[k], e.station, e.source, e.line}).second;
        const std::optional<UtcMillis>& received = e.received;
        if (fresh && received && (!at->second.earliest || *received < *at->second.earliest)) {
            at->second.earliest = received;
        }
    }
    pg::CopyRows rows;
    const auto time = [&rows](const std::optional<UtcMillis>& t) {
        if (t) {
            rows.text(FormatUtcTime(*t));
        } else {
            rows.null();
        }
    };
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const ArchiveEntry& e = entries[k];
        const bool first = frameOf[k] == k;
        rows.row(kIncomingFields);
        rows.integer(static_cast<std::int64_t>(k));
        rows.integer(static_cast<std::int64_t>(frameOf[k]));
        if (first) {
            rows.text(e.digits);
            rows.small(e.suspect ? 1 : 0);
            time(frames.at(e.digits).earliest);
        } else {
            rows.null();
            rows.null();
            rows.null();
        }
        time(e.received);
        rows.text(e.station);
        rows.text(e.source);
        rows.integer(e.line);
        for (const double value : e.values) {
            if (first) {
                rows.real(value);
            } else {
                rows.null();
            }
        }
    }
    return rows.finish();
}

bool worthRetrying(const pg::Failure& failure) {
    return std::find(kRetryStates.begin(), kRetryStates.end(), failure.state) != kRetryStates.end();
}

}  // namespace

PostgresStore::PostgresStore(const std::string& uri, ArchiveAccess access)
    : shown_(RedactLocation(uri)), writing_(access == ArchiveAccess::Write) {
    try {
        db_ = std::make_unique<pg::Connection>(uri);
        db_->execute(pg::SessionSql());
        const int found = version();
        if (found > pg::kSchemaVersion) {
            throw ArchiveError(shown_ + " is an archive of a newer version (" +
                               std::to_string(found) + ") than this program knows (" +
                               std::to_string(pg::kSchemaVersion) + "); it was left alone");
        }
        if (!writing_ && found < pg::kSchemaVersion) {
            throw ArchiveError("could not read the archive " + shown_ +
                               (found == 0 ? ": there is none; add to it first"
                                           : ": it needs an upgrade; add to it"));
        }
        if (writing_) {
            if (found < pg::kSchemaVersion) {
                upgrade();
            }
            db_->execute(pg::WriterSessionSql());
            db_->execute(pg::CreateIncomingSql());
        }
    } catch (const pg::Failure& failure) {
        fail("open", failure);
    }
}

void PostgresStore::fail(std::string_view doing, const pg::Failure& failure) const {
    throw ArchiveError("could not " + std::string(doing) + " the archive " + shown_ + ": " +
                       failure.text);
}

// 0 when the database holds no archive yet.
int PostgresStore::version() {
    const pg::Result table = db_->execute("SELECT to_regclass('archive_version') IS NOT NULL");
    if (table.text(0, 0) != "t") {
        return 0;
    }
    const pg::Result found = db_->execute("SELECT max(version) FROM archive_version");
    return found.isNull(0, 0) ? 0 : static_cast<int>(found.integer(0, 0));
}

// Makes or upgrades the tables step by step in one transaction. Stations that start together
// take turns, and the later ones find nothing left to do: the lock is taken before the
// transaction begins, so that the transaction sees the tables that the one before made.
void PostgresStore::upgrade() {
    const std::string key(pg::kUpgradeLockKey);
    db_->execute("SELECT pg_advisory_lock(" + key + ")");
    try {
        db_->execute("BEGIN");
        for (int v = version(); v < pg::kSchemaVersion; ++v) {
            db_->execute(pg::UpgradeFrom(v));
            db_->execute("UPDATE archive_version SET version = " + std::to_string(v + 1));
        }
        db_->execute("COMMIT");
    } catch (const pg::Failure&) {
        PQclear(PQexec(db_->handle(), "ROLLBACK"));
        PQclear(PQexec(db_->handle(), ("SELECT pg_advisory_unlock(" + key + ")").c_str()));
        throw;
    }
    db_->execute("SELECT pg_advisory_unlock(" + key + ")");
}

AddCounts PostgresStore::add(std::span<const ArchiveEntry> entries) {
    if (!writing_) {
        throw ArchiveError("could not write the archive " + shown_ + ": it was opened to read");
    }
    if (entries.empty()) {
        return {};
    }
    for (int attempt = 1;; ++attempt) {
        try {
            return addOnce(entries);
        } catch (const pg::Failure& failure) {
            PQclear(PQexec(db_->handle(), "ROLLBACK"));
            if (!worthRetrying(failure) || attempt == kWriteTries) {
                fail("write", failure);
            }
        }
    }
}

AddCounts PostgresStore::addOnce(std::span<const ArchiveEntry> entries) {
    db_->execute(pg::BeginBatchSql());
    db_->copyIn(pg::CopyIncomingSql(), copyRows(entries));
    AddCounts counts;
    for (int run = 1;; ++run) {
        const pg::Result r = db_->execute(pg::AddBatchSql());
        counts.newFrames += r.integer(0, 0);
        counts.newReceptions += r.integer(0, 1);
        if (r.integer(0, 2) == 0) {
            break;
        }
        if (run == kBatchRuns) {
            throw pg::Failure{"", "frames that other stations added could not be found"};
        }
    }
    counts.knownFrames = static_cast<std::int64_t>(entries.size()) - counts.newFrames;
    db_->execute("COMMIT");
    return counts;
}

std::vector<PassSummary> PostgresStore::passes(const TimeRange& range) {
    std::vector<PassSummary> all;
    try {
        const pg::Result last = db_->execute("SELECT coalesce(max(id), 0) FROM frames");
        all = GroupPasses(last.integer(0, 0), range,
                          [this](const std::string& sql, const auto& each) {
                              pg::RowStream rows(*db_, sql);
                              each(rows);
                          });
    } catch (const pg::Failure& failure) {
        fail("read", failure);
    }
    return all;
}

void PostgresStore::forEachFrame(const FrameQuery& query,
                                 const std::function<void(const ArchivedFrame&)>& visit) {
    const auto times = [](const TimeRange& r) {
        return pg::Params{timeText(r.since, kEarliest), timeText(r.until, kLatest)};
    };
    try {
        ScanQueriedFrames(
            query, [this] { return passes({}); },
            [&](FrameScan scan, const TimeRange& bounds) {
                switch (scan) {
                    case FrameScan::Timed:
                        return scanFrames(kTimed, kTimedOrder, times(bounds), visit);
                    case FrameScan::Untimed:
                        return scanFrames("f.first_received IS NULL", kUntimedOrder, {}, visit);
                    case FrameScan::UntimedIds:
                        return scanFrames("f.first_received IS NULL AND f.id >= $1 AND f.id <= $2",
                                          kUntimedOrder,
                                          {FormatInteger(bounds.since.value_or(0)),
                                           FormatInteger(bounds.until.value_or(0))},
                                          visit);
                }
            });
    } catch (const pg::Failure& failure) {
        fail("read", failure);
    }
}

void PostgresStore::scanFrames(std::string_view where, std::string_view order,
                               const pg::Params& bounds,
                               const std::function<void(const ArchivedFrame&)>& visit) {
    pg::RowStream rows(*db_, sqlite::FramesWithReceptionsSql(where, order), bounds);
    VisitFrameRows(rows, visit);
}

ArchiveStats PostgresStore::stats() {
    ArchiveStats stats;
    try {
        const pg::Result r = db_->execute(
            "SELECT (SELECT count(*) FROM frames), count(*), count(DISTINCT station), "
            "min(received), max(received), pg_total_relation_size('frames') + "
            "pg_total_relation_size('receptions') FROM receptions");
        stats.frames = r.integer(0, 0);
        stats.receptions = r.integer(0, 1);
        stats.stations = r.integer(0, 2);
        stats.firstReception = r.isNull(0, 3) ? std::nullopt : ParseUtcTime(r.text(0, 3));
        stats.lastReception = r.isNull(0, 4) ? std::nullopt : ParseUtcTime(r.text(0, 4));
        stats.fileBytes = r.integer(0, 5);
    } catch (const pg::Failure& failure) {
        fail("read", failure);
    }
    stats.passes = static_cast<std::int64_t>(passes({}).size());
    return stats;
}

void PostgresStore::forEachEntry(const std::function<void(const ArchiveEntry&)>& visit) {
    try {
        pg::RowStream rows(*db_, sqlite::EveryEntrySql());
        VisitEntryRows(rows, visit);
    } catch (const pg::Failure& failure) {
        fail("read", failure);
    }
}

}  // namespace pelorin
