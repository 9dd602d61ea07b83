#include "pelorin/decoder.h"

#include <type_traits>

#include "frame_fields.h"
#include "scalings.h"
#include "text_scan.h"
#include "unicode_chars.h"

namespace pelorin {
namespace {

constexpr std::size_t kMarkerLength = FrameMarker.size();
constexpr char32_t kMarkerFirstFolded = static_cast<char32_t>(FrameMarker[0]) | 0x20U;

// Whether the marker, compared after upper-casing, starts at `pos` of `text`.
template <typename Unit>
bool markerAt(std::basic_string_view<Unit> text, std::size_t pos) {
    if (text.size() - pos < kMarkerLength) {
        return false;
    }
    for (std::size_t k = 0; k < kMarkerLength; ++k) {
        const auto c = static_cast<std::make_unsigned_t<Unit>>(text[pos + k]);
        if (unicode::upperAscii(c) != static_cast<char32_t>(FrameMarker[k])) {
            return false;
        }
    }
    return true;
}

template <typename Unit>
bool mayStartMarker(Unit c) {
    return (static_cast<char32_t>(static_cast<std::make_unsigned_t<Unit>>(c)) | 0x20U) ==
           kMarkerFirstFolded;
}

std::size_t findMarker(std::u16string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (mayStartMarker(line[i]) && markerAt(line, i)) {
            return i;
        }
    }
    return std::u16string_view::npos;
}

// UTF-8: bytes of multi-byte characters are never ASCII, so a byte search finds the marker.
std::size_t findMarker(std::string_view line) {
    const char* const end = line.data() + line.size();
    const auto lower = static_cast<char>(kMarkerFirstFolded);
    for (const char* p = line.data(); (p = scan::findFolded(p, end, lower)) != end; ++p) {
        const auto i = static_cast<std::size_t>(p - line.data());
        if (markerAt(line, i)) {
            return i;
        }
    }
    return std::string_view::npos;
}

// `rest` begins with the marker: copies it into `frame` when it is exactly 122 characters.
template <typename Unit>
LineKind examineFromMarker(std::basic_string_view<Unit> rest, FrameText& frame) {
    if (rest.size() < static_cast<std::size_t>(kFrameLength)) {
        return LineKind::Damaged;  // a character takes at least one code unit
    }
    unicode::CharReader<Unit> reader(rest);
    for (char32_t& c : frame) {
        if (reader.atEnd()) {
            return LineKind::Damaged;
        }
        c = unicode::upperAscii(reader.next());
    }
    return reader.atEnd() ? LineKind::Telemetry : LineKind::Damaged;
}

// The usual UTF-16 case, one unit a character, without reading character by character.
LineKind examineFromMarker(std::u16string_view rest, FrameText& frame) {
    if (rest.size() == static_cast<std::size_t>(kFrameLength)) {
        unsigned surrogates = 0;
        for (std::size_t k = 0; k < frame.size(); ++k) {
            const char16_t c = rest[k];
            surrogates |= static_cast<unsigned>((c & 0xF800) == 0xD800);
            frame[k] = unicode::upperAscii(c);
        }
        if (surrogates == 0) {
            return LineKind::Telemetry;
        }
    } else if (!scan::holdsSurrogate(rest.data(), rest.data() + rest.size())) {
        return LineKind::Damaged;
    }
    return examineFromMarker<char16_t>(rest, frame);
}

// The usual UTF-8 case, ASCII only, without reading character by character.
LineKind examineFromMarker(std::string_view rest, FrameText& frame) {
    if (rest.size() == static_cast<std::size_t>(kFrameLength)) {
        unsigned char nonAscii = 0;
        for (std::size_t k = 0; k < frame.size(); ++k) {
            const auto c = static_cast<unsigned char>(rest[k]);
            nonAscii |= c;
            frame[k] = unicode::upperAscii(c);
        }
        if ((nonAscii & 0x80) == 0) {
            return LineKind::Telemetry;
        }
    } else if (!scan::holdsNonAscii(rest.data(), rest.data() + rest.size())) {
        return LineKind::Damaged;
    }
    return examineFromMarker<char>(rest, frame);
}

template <typename Unit>
LineKind examine(std::basic_string_view<Unit> line, FrameText& frame) {
    const std::size_t pos = findMarker(line);
    if (pos == std::basic_string_view<Unit>::npos) {
        return LineKind::Other;
    }
    return examineFromMarker(line.substr(pos), frame);
}

}  // namespace

LineKind ExamineLine(std::u16string_view line, FrameText& frame) {
    return examine(line, frame);
}
LineKind ExamineLine(std::string_view utf8Line, FrameText& frame) {
    return examine(utf8Line, frame);
}

void DecodeFrame(const FrameText& frame, TelemetryRecord& record) {
    if (!fields::decodeHexDigitsOnly(frame, record)) {
        fields::decodeAnyCharacters(frame, record);
    }
}

DecodeResult Decode_Text(std::u16string_view text, TelemetryStore& store,
                         const LineAcceptedCallback& onAccepted) {
    DecodeResult result;
    TelemetryStoreWriter writer(store);
    writer.reset();
    if (text.empty()) {
        return result;  // an empty text has no lines at all
    }
    FrameText frame;
    std::size_t lineStart = 0;
    std::size_t marker = std::u16string_view::npos;

    auto finishLine = [&](std::size_t lineEnd) {
        ++result.totalLines;
        if (marker == std::u16string_view::npos) {
            result.emptyLines += (lineEnd == lineStart) ? 1 : 0;
            return;
        }
        if (examineFromMarker(text.substr(marker, lineEnd - marker), frame) == LineKind::Damaged) {
            ++result.damagedLines;
            result.damagedLineNumbers.push_back(result.totalLines);
            return;
        }
        ++result.telemetryLines;
        if (onAccepted) {
            onAccepted(kFrameLength);
        }
        if (TelemetryRecord* record = writer.nextRecord()) {
            DecodeFrame(frame, *record);
        } else {
            ++result.droppedLines;
        }
    };

    // One pass over the text finds both the CR LF pairs and the first marker of each line.
    const char16_t* const begin = text.data();
    const char16_t* const end = begin + text.size();
    const auto markerStartLower = static_cast<char16_t>(kMarkerFirstFolded);
    for (const char16_t* p = begin;;) {
        p = scan::findBreakOrMarkerStart(p, end, marker == std::u16string_view::npos,
                                         markerStartLower);
        if (p == end) {
            break;
        }
        const auto i = static_cast<std::size_t>(p - begin);
        if (*p == u'\r') {
            if (p + 1 < end && p[1] == u'\n') {
                finishLine(i);
                lineStart = i + 2;
                marker = std::u16string_view::npos;
                p += 2;
                continue;
            }
        } else if (markerAt(text, i)) {
            marker = i;
        }
        ++p;
    }
    finishLine(text.size());
    result.RecordCount = store.RecordCount();
    return result;
}

}  // namespace pelorin
