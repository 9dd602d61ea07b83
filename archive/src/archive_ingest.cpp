#include "pelorin/archive_ingest.h"

#include <span>

#include "pelorin/decoder.h"
#include "pelorin/unicode_chars.h"

namespace pelorin {
namespace {

constexpr char32_t kLastOneByte = 0x7F;

// The frame's digits, the characters after the marker, in UTF-8; nearly always ASCII, which
// takes one byte a character.
void appendDigits(const FrameText& frame, std::string& out) {
    const auto digits = std::span(frame).subspan(FrameMarker.size());
    out.resize(digits.size());
    for (std::size_t k = 0; k < digits.size(); ++k) {
        if (digits[k] > kLastOneByte) {
            out.resize(k);
            for (; k < digits.size(); ++k) {
                AppendUtf8(out, digits[k]);
            }
            return;
        }
        out[k] = static_cast<char>(digits[k]);
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
    appendDigits(frame_, entry.digits);
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
