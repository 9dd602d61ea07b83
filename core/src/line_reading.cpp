#include "pelorin/line_reading.h"

#include "field_decoding.h"
#include "pelorin/decoder.h"
#include "pelorin/frame_marker.h"
#include "pelorin/unicode_chars.h"

namespace pelorin {
namespace {

// Whether every byte is ASCII, so that each is one character. Without an early exit, so that
// the loop becomes vector instructions.
bool IsAscii(std::string_view bytes) {
    unsigned char any = 0;
    for (const char c : bytes) {
        any |= static_cast<unsigned char>(c);
    }
    return any < kAsciiEnd;
}

}  // namespace

LineReading ReadLine(std::string_view utf8Line, RawRecord& raw) {
    const std::size_t marker = FindFrameMarker(utf8Line);
    if (marker == std::string_view::npos) {
        return {LineKind::Other, false};
    }
    const std::string_view frameBytes = utf8Line.substr(marker);
    if (IsAscii(frameBytes)) {
        if (frameBytes.size() != static_cast<std::size_t>(kFrameLength)) {
            return {LineKind::Damaged, false};
        }
        if (fields::readDigitsOnly(frameBytes.data(), raw)) {
            return {LineKind::Telemetry, false};
        }
    }
    // Characters of several bytes, or a character among the digits that is none: the general
    // reading, whose results the byte reading above only reaches sooner.
    FrameText frame;
    const LineKind kind = ExamineLine(utf8Line, frame);
    return {kind, kind == LineKind::Telemetry && !DecodeFrameRaw(frame, raw)};
}

}  // namespace pelorin
