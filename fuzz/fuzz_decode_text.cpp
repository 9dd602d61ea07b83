// Decode_Text over any UTF-16 text must keep its counts consistent and store exactly what
// examining and decoding each CR LF line on its own gives.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "pelorin/decoder.h"

namespace {

pelorin::TelemetryStore gStore;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * 2);

    const pelorin::DecodeResult result = pelorin::Decode_Text(text, gStore);

    FUZZ_CHECK(result.RecordCount >= 0 && result.RecordCount <= pelorin::kMaxRecords);
    FUZZ_CHECK(result.RecordCount == gStore.RecordCount());
    FUZZ_CHECK(result.droppedLines == result.telemetryLines - result.RecordCount);
    FUZZ_CHECK(result.otherLines() >= 0);
    FUZZ_CHECK(static_cast<std::int64_t>(result.damagedLineNumbers.size()) ==
               std::min<std::int64_t>(result.damagedLines, pelorin::kReportedLineNumbers));

    // The same text line by line.
    std::int64_t lines = 0;
    std::int64_t telemetry = 0;
    std::int64_t damaged = 0;
    pelorin::FrameText frame;
    pelorin::TelemetryRecord record;
    std::size_t start = 0;
    while (!text.empty()) {
        std::size_t end = text.find(u"\r\n", start);
        const bool last = end == std::u16string::npos;
        end = last ? text.size() : end;
        ++lines;
        const auto kind =
            pelorin::ExamineLine(std::u16string_view(text).substr(start, end - start), frame);
        if (kind == pelorin::LineKind::Damaged) {
            if (damaged < pelorin::kReportedLineNumbers) {
                FUZZ_CHECK(result.damagedLineNumbers.at(static_cast<std::size_t>(damaged)) ==
                           lines);
            }
            ++damaged;
        } else if (kind == pelorin::LineKind::Telemetry && ++telemetry <= pelorin::kMaxRecords) {
            pelorin::DecodeFrame(frame, record);
            FUZZ_CHECK(std::memcmp(&record, &gStore.record(static_cast<int>(telemetry)),
                                   sizeof record) == 0);
        }
        if (last) {
            break;
        }
        start = end + 2;
    }
    FUZZ_CHECK(lines == result.totalLines);
    FUZZ_CHECK(telemetry == result.telemetryLines);
    FUZZ_CHECK(damaged == result.damagedLines);
    return 0;
}
