#include "pelorin/decoder.h"

#include "field_decoding.h"

namespace pelorin {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";

void Report(std::vector<std::int64_t>& numbers, std::int64_t line) {
    if (numbers.size() < static_cast<std::size_t>(kReportedLineNumbers)) {
        numbers.push_back(line);
    }
}

// Counts one line of the text and stores its record if it is telemetry.
void takeLine(std::u16string_view line, TelemetryStoreWriter& writer, DecodeResult& result) {
    ++result.totalLines;
    FrameText frame;
    switch (ExamineLine(line, frame)) {
        case LineKind::Other:
            result.emptyLines += line.empty() ? 1 : 0;
            return;
        case LineKind::Damaged:
            ++result.damagedLines;
            Report(result.damagedLineNumbers, result.totalLines);
            return;
        case LineKind::Telemetry:
            break;
    }
    ++result.telemetryLines;
    if (TelemetryRecord* record = writer.nextRecord()) {
        if (!DecodeFrame(frame, *record)) {
            ++result.suspectLines;
            Report(result.suspectLineNumbers, result.totalLines);
        }
    } else {
        ++result.droppedLines;
    }
}

}  // namespace

bool DecodeFrameRaw(const FrameText& frame, RawRecord& raw) {
    if (fields::readDigitsOnly(frame.data(), raw)) {
        return true;
    }
    fields::decodeFields(frame, raw);
    return false;
}

void ScaleRecord(const RawRecord& raw, TelemetryRecord& record) {
    fields::scaleFields(raw, record, std::make_index_sequence<kValuesPerRecord>());
}

bool DecodeFrame(const FrameText& frame, TelemetryRecord& record) {
    RawRecord raw;
    const bool digitsOnly = DecodeFrameRaw(frame, raw);
    ScaleRecord(raw, record);
    return digitsOnly;
}

DecodeResult Decode_Text(std::u16string_view text, TelemetryStore& store) {
    DecodeResult result;
    TelemetryStoreWriter writer(store);
    writer.reset();
    if (text.empty()) {
        return result;  // an empty text has no lines at all
    }
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(kLineBreak, start);
        if (end == std::u16string_view::npos) {
            takeLine(text.substr(start), writer, result);
            break;
        }
        takeLine(text.substr(start, end - start), writer, result);
        start = end + kLineBreak.size();
    }
    result.RecordCount = store.RecordCount();
    return result;
}

}  // namespace pelorin
