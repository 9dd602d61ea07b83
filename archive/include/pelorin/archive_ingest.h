#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pelorin/archive_store.h"
#include "pelorin/line_recognition.h"

namespace pelorin {

// What became of the lines given to an ArchiveIngest.
struct IngestCounts {
    std::int64_t telemetryLines = 0;
    std::int64_t damagedLines = 0;  // hold the marker, but not 122 characters from it on
    std::int64_t suspectLines = 0;  // telemetry with a non-hex character among the digits
};

// Turns log lines into archive entries, decoded as pelorin-decode and the window decode them,
// for one station. The entries gather until taken; the caller adds them in batches.
class ArchiveIngest {
  public:
    explicit ArchiveIngest(std::string station) : station_(std::move(station)) {}

    // Examines line `number` of `source`. A telemetry line becomes an entry, received at the
    // time written before its marker, else at `readTime` (a followed line), else at none.
    LineKind addLine(std::string_view text, std::string_view source, std::int64_t number,
                     std::optional<UtcMillis> readTime = std::nullopt);

    std::span<const ArchiveEntry> entries() const { return {entries_.data(), used_}; }
    // Forgets the entries; their room is used again.
    void clearEntries() { used_ = 0; }
    const IngestCounts& counts() const { return counts_; }

  private:
    std::string station_;
    std::vector<ArchiveEntry> entries_;
    std::size_t used_ = 0;
    IngestCounts counts_;
    FrameText frame_{};
};

}  // namespace pelorin
