#include "decode_session.h"

#include "pelorin/number_text.h"

namespace pelorin::cli {

bool DecodeSession::decodeLine(const LineReader::Line& line, std::string_view file,
                               std::string& out) {
    ++counts_.linesRead;
    switch (ExamineLine(line.text, frame_)) {
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
    const bool suspect = !DecodeFrame(frame_, record_);
    if (suspect && counts_.suspectLines++ == 0) {
        counts_.firstSuspect = std::string(file) + ":" + FormatInteger(line.number);
    }
    ++counts_.telemetryLines;
    if (limits_ != nullptr && AnyOutOfLimits(record_, *limits_)) {
        ++counts_.outOfLimitsRecords;
    }
    format_.appendRecord(out, record_, {counts_.telemetryLines, file, line.number, suspect, {}});
    return true;
}

}  // namespace pelorin::cli
