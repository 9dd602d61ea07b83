#include "pelorin/incremental_decoder.h"

#include <algorithm>
#include <cassert>

#include "pelorin/line_recognition.h"

namespace pelorin {

LineClass ClassifyLine(std::u16string_view line) {
    FrameText frame;
    switch (ExamineLine(line, frame)) {
        case LineKind::Telemetry:
            return LineClass::Telemetry;
        case LineKind::Damaged:
            return LineClass::Damaged;
        case LineKind::Other:
            break;
    }
    return line.empty() ? LineClass::Empty : LineClass::Other;
}

IncrementalDecoder::IncrementalDecoder() {
    const LineMark empty{LineClass::Empty, true};
    index_.replace(0, 0, std::span(&empty, 1));
}

void IncrementalDecoder::replaceParagraphs(std::int64_t first, std::int64_t removed,
                                           std::span<const LineMark> marks) {
    const std::int64_t firstLine = index_.paragraphStart(first);
    const std::int64_t endLine = index_.paragraphStart(first + removed);
    // Telemetry lines before the edit keep their rank and their line number.
    changedRank_ = std::min(changedRank_, index_.countBefore(Tally::Telemetry, firstLine));
    index_.replace(firstLine, endLine - firstLine, marks);
}

void IncrementalDecoder::removeLeadingParagraphs(std::int64_t count) {
    const std::int64_t endLine = index_.paragraphStart(count);
    const std::int64_t telemetry = index_.countBefore(Tally::Telemetry, endLine);
    index_.replace(0, endLine, {});
    const auto dropped =
        static_cast<std::ptrdiff_t>(std::min(telemetry, static_cast<std::int64_t>(stored_.size())));
    stored_.erase(stored_.begin(), stored_.begin() + dropped);
    for (StoredLine& line : stored_) {
        line.line -= endLine;
    }
    movedUpBy_ += dropped;
    changedRank_ = std::max<std::int64_t>(0, changedRank_ - telemetry);
}

DecodeResult IncrementalDecoder::update(TelemetryStore& store, const LineTextSource& lineText) {
    // Records this decoder did not write, or that an edit moved, are written again; those that
    // only moved up are copied. The records after the new count keep what they held, as after a
    // decode of the whole text.
    const std::int64_t from = std::min(
        {changedRank_, static_cast<std::int64_t>(stored_.size()),
         std::max<std::int64_t>(0, static_cast<std::int64_t>(store.RecordCount()) - movedUpBy_)});
    if (movedUpBy_ > 0) {
        TelemetryStoreWriter(store).moveUp(static_cast<std::int32_t>(movedUpBy_),
                                           static_cast<std::int32_t>(from));
        movedUpBy_ = 0;
    }
    storeFrom(from, store, lineText);
    changedRank_ = kNothingChanged;
    return counts(store);
}

void IncrementalDecoder::storeFrom(std::int64_t rank, TelemetryStore& store,
                                   const LineTextSource& lineText) {
    TelemetryStoreWriter writer(store);
    writer.keep(static_cast<std::int32_t>(rank));
    stored_.resize(static_cast<std::size_t>(rank));
    const std::int64_t records =
        std::min<std::int64_t>(index_.count(Tally::Telemetry), kMaxRecords);
    if (rank >= records) {
        return;
    }
    index_.forEachFrom(Tally::Telemetry, rank, [&](const LinePlace& place) {
        FrameText frame;
        [[maybe_unused]] const LineKind kind = ExamineLine(lineText(place), frame);
        assert(kind == LineKind::Telemetry);
        stored_.push_back({place.line, !DecodeFrame(frame, *writer.nextRecord())});
        return static_cast<std::int64_t>(stored_.size()) < records;
    });
}

DecodeResult IncrementalDecoder::counts(const TelemetryStore& store) const {
    DecodeResult result;
    result.RecordCount = store.RecordCount();
    result.telemetryLines = index_.count(Tally::Telemetry);
    result.droppedLines = result.telemetryLines - result.RecordCount;
    result.damagedLines = index_.count(Tally::Damaged);
    result.emptyLines = index_.count(Tally::Empty);
    result.totalLines = index_.lines();
    if (result.totalLines == 1 && result.emptyLines == 1) {
        result.totalLines = 0;  // an empty text has no lines at all
        result.emptyLines = 0;
    }
    index_.forEachFrom(Tally::Damaged, 0, [&result](const LinePlace& place) {
        result.damagedLineNumbers.push_back(place.line + 1);
        return result.damagedLineNumbers.size() < static_cast<std::size_t>(kReportedLineNumbers);
    });
    for (const StoredLine& line : stored_) {
        if (line.suspect) {
            if (result.suspectLines++ < kReportedLineNumbers) {
                result.suspectLineNumbers.push_back(line.line + 1);
            }
        }
    }
    return result;
}

}  // namespace pelorin
