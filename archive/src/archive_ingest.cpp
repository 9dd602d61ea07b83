#include "pelorin/archive_ingest.h"

#include "pelorin/decoder.h"
#include "pelorin/unicode_chars.h"

namespace pelorin {

LineKind ArchiveIngest::addLine(std::string_view text, std::string_view source, std::int64_t number,
                                std::optional<UtcMillis> readTime) {
    const LineKind kind = ExamineLine(text, frame_);
    if (kind == LineKind::Damaged) {
        ++counts_.damagedLines;
    }
    if (kind != LineKind::Telemetry) {
        return kind;
    }
    if (used_ == entries_.size()) {
        entries_.emplace_back();
    }
    ArchiveEntry& entry = entries_[used_++];
    entry.suspect = !DecodeFrame(frame_, entry.values);
    entry.digits.clear();
    for (std::size_t k = FrameMarker.size(); k < frame_.size(); ++k) {
        AppendUtf8(entry.digits, frame_[k]);
    }
    const std::optional<UtcMillis> written = ReceptionTimeOfLine(text);
    entry.received = written ? written : readTime;
    entry.station.assign(station_);
    entry.source.assign(source);
    entry.line = number;
    ++counts_.telemetryLines;
    counts_.suspectLines += entry.suspect ? 1 : 0;
    return kind;
}

}  // namespace pelorin
