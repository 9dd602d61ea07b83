#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "pelorin/decoder.h"
#include "pelorin/limits.h"
#include "pelorin/line_reader.h"
#include "pelorin/line_reading.h"
#include "record_format.h"

namespace pelorin::cli {

// What became of the lines read.
struct DecodeCounts {
    std::int64_t linesRead = 0;
    std::int64_t telemetryLines = 0;      // decoded into records
    std::int64_t damagedLines = 0;        // hold the marker, but not 122 characters from it on
    std::string firstDamaged;             // "file:line" of the first damaged line
    std::int64_t suspectLines = 0;        // decoded, but with a non-hex character among the digits
    std::string firstSuspect;             // "file:line" of the first of them
    std::int64_t outOfLimitsRecords = 0;  // records with any value outside the limits

    std::int64_t skippedLines() const { return linesRead - telemetryLines; }
};

// Recognises and decodes lines one at a time, as the window does for a whole text, and
// appends a record's output for each telemetry line. No limit on the number of records.
class DecodeSession {
  public:
    // `limits`, when not null, must outlive the session; its records are counted against it.
    explicit DecodeSession(RecordFormat& format, const LimitTable* limits = nullptr)
        : format_(format), limits_(limits) {}

    // Examines `line` of input `file`; true if it was telemetry and its record was appended.
    bool decodeLine(const LineReader::Line& line, std::string_view file, std::string& out);

    const DecodeCounts& counts() const { return counts_; }

  private:
    RecordFormat& format_;
    const LimitTable* limits_;
    DecodeCounts counts_;
    RawRecord raw_{};
    TelemetryRecord record_{};
};

}  // namespace pelorin::cli
