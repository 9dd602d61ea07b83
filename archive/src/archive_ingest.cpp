#include "pelorin/archive_ingest.h"

#include "pelorin/decoder.h"

namespace pelorin {
namespace {

constexpr char32_t kLastOneByte = 0x7F;
constexpr char32_t kLastTwoBytes = 0x7FF;
constexpr char32_t kLastThreeBytes = 0xFFFF;

void appendUtf8(std::string& out, char32_t c) {
    const auto byte = [&out](char32_t b) { out.push_back(static_cast<char>(b)); };
    if (c <= kLastOneByte) {
        byte(c);
    } else if (c <= kLastTwoBytes) {
        byte(0xC0 | (c >> 6));
        byte(0x80 | (c & 0x3F));
    } else if (c <= kLastThreeBytes) {
        byte(0xE0 | (c >> 12));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | (c >> 18));
        byte(0x80 | ((c >> 12) & 0x3F));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
}

}  // namespace

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
        appendUtf8(entry.digits, frame_[k]);
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
