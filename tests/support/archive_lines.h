#pragma once

#include <string>
#include <vector>

#include "frames.h"
#include "pelorin/archive_ingest.h"
#include "pelorin/archive_store.h"

// Archive entries and logs for tests.
namespace testarchive {

// A log line carrying the frame with on-board time `seconds`, received at `stamp` when given
// ("2026-12-08T13:25:40Z").
inline std::string logLine(unsigned seconds, const std::string& stamp = {}) {
    return (stamp.empty() ? std::string() : stamp + " ") + testframes::lineWithTime(seconds);
}

// The entries of `lines` (1-based line numbers) from `source`, heard by `station`.
inline std::vector<pelorin::ArchiveEntry> entries(const std::vector<std::string>& lines,
                                                  const std::string& station = {},
                                                  const std::string& source = "log") {
    pelorin::ArchiveIngest ingest(station);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        ingest.addLine(lines[k], source, static_cast<std::int64_t>(k) + 1);
    }
    return {ingest.entries().begin(), ingest.entries().end()};
}

// Every frame in export order as one comparable text: on-board time, first reception, first
// source and line, stations.
inline std::vector<std::string> frameDump(pelorin::ArchiveStore& store,
                                          const pelorin::FrameQuery& query = {}) {
    std::vector<std::string> dump;
    store.forEachFrame(query, [&dump](const pelorin::ArchivedFrame& f) {
        std::string text = std::to_string(f.values[0]) + " " +
                           (f.firstReceived ? pelorin::FormatUtcTime(*f.firstReceived) : "-") +
                           " " + f.source + ":" + std::to_string(f.line);
        for (const std::string& s : f.stations) {
            text += " [" + s + "]";
        }
        dump.push_back(text);
    });
    return dump;
}

}  // namespace testarchive
