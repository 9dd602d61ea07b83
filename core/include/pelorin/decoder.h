#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "pelorin/line_recognition.h"
#include "pelorin/telemetry_table.h"

namespace pelorin {

// Reads the 36 fields of an accepted line and stores their scaled values in `record`. Returns
// false when a character among its 112 digits is no hexadecimal digit: the record then holds
// what the hex conversions make of such a field, plausible but not what was sent.
bool DecodeFrame(const FrameText& frame, TelemetryRecord& record);

// Line numbers a DecodeResult lists of each kind: the first ones in text order. The counts go
// on beyond them.
inline constexpr int kReportedLineNumbers = 50;

// Counts of one Decode_Text run over a whole text.
struct DecodeResult {
    std::int32_t RecordCount = 0;     // records stored, 0..1000
    std::int64_t telemetryLines = 0;  // accepted lines, including those beyond the table's room
    std::int64_t droppedLines = 0;    // accepted lines not stored for want of room
    std::int64_t damagedLines = 0;    // lines holding the marker but of the wrong length
    std::int64_t emptyLines = 0;      // lines with no character at all
    std::int64_t totalLines = 0;      // lines of the text, split at CR LF
    std::int64_t suspectLines = 0;    // stored records whose digits hold a non-hex character
    // 1-based, in text order; the first kReportedLineNumbers of damagedLines and suspectLines
    std::vector<std::int64_t> damagedLineNumbers;
    std::vector<std::int64_t> suspectLineNumbers;

    std::int64_t otherLines() const {
        return totalLines - telemetryLines - damagedLines - emptyLines;
    }
};

// Decodes a whole text: splits it at CR LF only, and stores the accepted lines as records
// 1..n of `store` (at most 1000; later ones are counted in droppedLines). Never fails.
DecodeResult Decode_Text(std::u16string_view text, TelemetryStore& store);

}  // namespace pelorin
