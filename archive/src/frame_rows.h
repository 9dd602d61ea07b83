#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pelorin/archive_store.h"
#include "pelorin/pass_grouper.h"
#include "sqlite_schema.h"

namespace pelorin {

// Columns of the frames-with-receptions query that every engine runs: id, first_received,
// suspect, then the reception's received, station, source and line, and the digits.
inline constexpr int kSuspectColumn = 2;
inline constexpr int kDigitsColumn = kSuspectColumn + 5;

template <typename Row>
std::optional<UtcMillis> TimeIn(const Row& row, int column) {
    return row.isNull(column) ? std::nullopt : ParseUtcTime(row.text(column));
}

// Hands out each frame of `rows` (a frame's rows together) once all its receptions are read,
// with its earliest reception as the first and its stations distinct and sorted. `Row` steps
// through a result with step() and reads it with isNull, integer, real and text.
template <typename Row>
void VisitFrameRows(Row& rows, const std::function<void(const ArchivedFrame&)>& visit) {
    constexpr int kReceived = kSuspectColumn + 1;
    const auto earlier = [](const std::optional<UtcMillis>& a, const std::optional<UtcMillis>& b) {
        return a && (!b || *a < *b);
    };
    ArchivedFrame frame;
    std::optional<UtcMillis> firstOfFrame;
    bool pending = false;
    const auto emit = [&] {
        std::sort(frame.stations.begin(), frame.stations.end());
        frame.stations.erase(std::unique(frame.stations.begin(), frame.stations.end()),
                             frame.stations.end());
        visit(frame);
    };
    while (rows.step()) {
        const std::int64_t id = rows.integer(0);
        const std::optional<UtcMillis> received = TimeIn(rows, kReceived);
        if (!pending || id != frame.id) {
            if (pending) {
                emit();
            }
            pending = true;
            frame.id = id;
            frame.firstReceived = TimeIn(rows, 1);
            frame.suspect = rows.integer(kSuspectColumn) != 0;
            frame.digits = rows.text(kDigitsColumn);
            // The values columns hold exactly what the digits decode to.
            ReadArchivedDigits(frame.digits, frame.raw);
            ScaleRecord(frame.raw, frame.values);
            frame.stations.clear();
            frame.source.clear();
            firstOfFrame.reset();
        } else if (!earlier(received, firstOfFrame)) {
            frame.stations.emplace_back(rows.text(kReceived + 1));
            continue;
        }
        firstOfFrame = received;
        frame.stations.emplace_back(rows.text(kReceived + 1));
        frame.source = rows.text(kReceived + 2);
        frame.line = rows.integer(kReceived + 3);
    }
    if (pending) {
        emit();
    }
}

// Hands out each row of EveryEntrySql as the entry that add would take.
template <typename Row>
void VisitEntryRows(Row& rows, const std::function<void(const ArchiveEntry&)>& visit) {
    constexpr int kFirstValue = 2;
    constexpr int kReceived = kFirstValue + kValuesPerRecord;
    ArchiveEntry entry;
    while (rows.step()) {
        entry.digits = rows.text(0);
        entry.suspect = rows.integer(1) != 0;
        for (int k = 0; k < kValuesPerRecord; ++k) {
            entry.values[static_cast<std::size_t>(k)] = rows.real(kFirstValue + k);
        }
        entry.received = TimeIn(rows, kReceived);
        entry.station = rows.text(kReceived + 1);
        entry.source = rows.text(kReceived + 2);
        entry.line = rows.integer(kReceived + 3);
        visit(entry);
    }
}

// The passes of an archive whose largest frame id is `lastId` that overlap `range`: frames in
// pass order, then each reception's station. `scan(sql, each)` runs `sql` and hands its rows
// to `each`.
template <typename Scan>
std::vector<PassSummary> GroupPasses(std::int64_t lastId, const TimeRange& range, Scan scan) {
    PassGrouper grouper;
    std::vector<std::uint32_t> passOf(static_cast<std::size_t>(lastId) + 1);
    for (const auto& [where, order] :
         {std::pair{"first_received IS NOT NULL", "first_received, time_s, id"},
          std::pair{"first_received IS NULL", "id"}}) {
        scan(sqlite::PassFramesSql(where, order), [&](auto& rows) {
            while (rows.step()) {
                const std::int64_t id = rows.integer(0);
                passOf[static_cast<std::size_t>(id)] =
                    static_cast<std::uint32_t>(grouper.addFrame(id, TimeIn(rows, 1), rows.real(2)));
            }
        });
    }
    scan(std::string("SELECT frame_id, station FROM receptions"), [&](auto& rows) {
        while (rows.step()) {
            grouper.addReception(passOf[static_cast<std::size_t>(rows.integer(0))], rows.text(1));
        }
    });
    std::vector<PassSummary> passes = grouper.finish();
    std::erase_if(passes, [&range](const PassSummary& p) { return !PassInRange(p, range); });
    return passes;
}

// Which frames an engine reads for a query: the timed ones received within the bounds (times),
// every untimed one, or the untimed ones whose ids lie within the bounds.
enum class FrameScan { Timed, Untimed, UntimedIds };

// Reads the frames `query` asks for, in export order, through `scan(FrameScan, bounds)`. A pass
// is found by its number among `passes()`; one outside the query's range reads nothing.
template <typename Passes, typename Scan>
void ScanQueriedFrames(const FrameQuery& query, Passes passes, Scan scan) {
    if (!query.pass) {
        scan(FrameScan::Timed, query.range);
        if (!query.range.since && !query.range.until) {
            scan(FrameScan::Untimed, TimeRange{});
        }
        return;
    }
    const std::vector<PassSummary> all = passes();
    const auto pass = std::find_if(
        all.begin(), all.end(), [&query](const PassSummary& p) { return p.number == *query.pass; });
    if (pass != all.end() && PassInRange(*pass, query.range)) {
        scan(pass->timed ? FrameScan::Timed : FrameScan::UntimedIds,
             TimeRange{pass->firstKey, pass->lastKey});
    }
}

}  // namespace pelorin
