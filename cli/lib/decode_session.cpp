#include "decode_session.h"

#include "pelorin/number_text.h"

namespace pelorin::cli {

bool DecodeSession::decodeLine(const LineReader::Line& line, std::string_view file,
                               std::string& out) {
    ++counts_.linesRead;
    const LineReading reading = ReadLine(line.text, raw_);
    switch (reading.kind) {
        case LineKind::Other:
            return false;
        case LineKind::Damaged:
            if (counts_.damagedLines++ == 0) {
                counts_.firstDamaged = std::string(file) + ":" + FormatInteger(line.number);
            }
            return false;
        case LineKind::Telemetry:
            break;
    }
    const bool suspect = reading.suspect;
    if (suspect && counts_.suspectLines++ == 0) {
        counts_.firstSuspect = std::string(file) + ":" + FormatInteger(line.number);
    }
    ++counts_.telemetryLines;
    if (limits_ != nullptr) {
        ScaleRecord(raw_, record_);
        counts_.outOfLimitsRecords += AnyOutOfLimits(record_, *limits_) ? 1 : 0;
    }
    format_.appendRecord(out, raw_, {counts_.telemetryLines, file, line.number, suspect, {}});
    return true;
}

}  // namespace pelorin::cli
