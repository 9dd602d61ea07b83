#include "pelorin/line_recognition.h"

#include "pelorin/ascii_case.h"
#include "pelorin/unicode_chars.h"

namespace pelorin {
namespace {

template <typename Unit>
LineKind examine(std::basic_string_view<Unit> line, FrameText& frame) {
    const std::size_t marker = FindFrameMarker(line);
    if (marker == std::basic_string_view<Unit>::npos) {
        return LineKind::Other;
    }
    std::basic_string_view<Unit> rest = line.substr(marker);
    for (char32_t& c : frame) {
        if (rest.empty()) {
            return LineKind::Damaged;
        }
        const CharRead read = ReadChar(rest);
        c = UpperAscii(read.codePoint);
        rest.remove_prefix(read.units);
    }
    return rest.empty() ? LineKind::Telemetry : LineKind::Damaged;
}

}  // namespace

LineKind ExamineLine(std::u16string_view line, FrameText& frame) {
    return examine(line, frame);
}
LineKind ExamineLine(std::string_view utf8Line, FrameText& frame) {
    return examine(utf8Line, frame);
}

}  // namespace pelorin
