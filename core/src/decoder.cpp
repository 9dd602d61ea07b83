#include "pelorin/decoder.h"

#include <type_traits>

#include "pelorin/hex_conversion.h"
#include "scalings.h"
#include "unicode_chars.h"

namespace pelorin {
namespace {

constexpr std::size_t kMarkerLength = FrameMarker.size();

// Field layout after the marker: offset in the line (from 0), digit count, reading, scaling.
enum class Reading { Signed, Unsigned };
struct Field {
    int offset;
    int digits;
    Reading reading;
    Scaling scaling;
};

constexpr std::array<Field, kValuesPerRecord> makeLayout() {
    std::array<Field, kValuesPerRecord> layout{};
    layout[0] = {10, 8, Reading::Signed, Scaling::None};
    constexpr std::array<Scaling, 7> quantities = {Scaling::Rail,       Scaling::Rail,
                                                   Scaling::Temperature, Scaling::Current,
                                                   Scaling::BusVoltage,  Scaling::BusCurrent,
                                                   Scaling::ChargeCurrent};
    for (int i = 1; i <= 28; ++i) {
        layout[i] = {18 + 3 * (i - 1), 3, Reading::Signed, quantities[(i - 1) / 4]};
    }
    layout[29] = {102, 2, Reading::Signed, Scaling::None};
    layout[30] = {104, 4, Reading::Unsigned, Scaling::None};
    layout[31] = {108, 4, Reading::Unsigned, Scaling::None};
    layout[32] = {112, 2, Reading::Signed, Scaling::None};
    layout[33] = {114, 2, Reading::Signed, Scaling::None};
    layout[34] = {116, 2, Reading::Signed, Scaling::None};
    layout[35] = {118, 4, Reading::Signed, Scaling::None};
    return layout;
}
constexpr std::array<Field, kValuesPerRecord> kLayout = makeLayout();
static_assert(kLayout[35].offset + kLayout[35].digits == kFrameLength);

// Whether the marker, compared after upper-casing, starts at `pos` of `text`.
template <typename Unit>
bool markerAt(std::basic_string_view<Unit> text, std::size_t pos) {
    if (text.size() - pos < kMarkerLength) {
        return false;
    }
    for (std::size_t k = 0; k < kMarkerLength; ++k) {
        if (unicode::upperAscii(static_cast<char32_t>(text[pos + k])) !=
            static_cast<char32_t>(FrameMarker[k])) {
            return false;
        }
    }
    return true;
}

constexpr char32_t kMarkerFirstFolded = static_cast<char32_t>(FrameMarker[0]) | 0x20U;

template <typename Unit>
bool mayStartMarker(Unit c) {
    return (static_cast<char32_t>(static_cast<std::make_unsigned_t<Unit>>(c)) | 0x20U) ==
           kMarkerFirstFolded;
}

template <typename Unit>
std::size_t findMarker(std::basic_string_view<Unit> line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (mayStartMarker(line[i]) && markerAt(line, i)) {
            return i;
        }
    }
    return std::basic_string_view<Unit>::npos;
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

template <typename Unit>
LineKind examine(std::basic_string_view<Unit> line, FrameText& frame) {
    const std::size_t pos = findMarker(line);
    if (pos == std::basic_string_view<Unit>::npos) {
        return LineKind::Other;
    }
    return examineFromMarker(line.substr(pos), frame);
}

std::int32_t readField(const FrameText& frame, const Field& field) {
    const std::u32string_view digits(frame.data() + field.offset,
                                     static_cast<std::size_t>(field.digits));
    return field.reading == Reading::Unsigned ? HexToUnsignLong(digits) : HexToDec(digits);
}

}  // namespace

LineKind ExamineLine(std::u16string_view line, FrameText& frame) { return examine(line, frame); }
LineKind ExamineLine(std::string_view utf8Line, FrameText& frame) {
    return examine(utf8Line, frame);
}

void DecodeFrame(const FrameText& frame, TelemetryRecord& record) {
    for (int i = 0; i < kValuesPerRecord; ++i) {
        record[i] = Scale(kLayout[i].scaling, readField(frame, kLayout[i]));
    }
}

DecodeResult Decode_Text(std::u16string_view text, TelemetryStore& store,
                         const LineAcceptedCallback& onAccepted) {
    DecodeResult result;
    TelemetryStoreWriter writer(store);
    writer.reset();
    FrameText frame;

    // One pass over the text finds both the CR LF pairs and the first marker of each line.
    const std::size_t n = text.size();
    std::size_t lineStart = 0;
    std::size_t marker = std::u16string_view::npos;
    auto finishLine = [&](std::size_t lineEnd) {
        ++result.totalLines;
        if (marker == std::u16string_view::npos) {
            result.emptyLines += (lineEnd == lineStart) ? 1 : 0;
            return;
        }
        const auto kind = examineFromMarker(text.substr(marker, lineEnd - marker), frame);
        if (kind == LineKind::Damaged) {
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

    if (n == 0) {
        return result;  // an empty text has no lines at all
    }
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
            finishLine(i);
            lineStart = i + 2;
            marker = std::u16string_view::npos;
            ++i;
        } else if (marker == std::u16string_view::npos && mayStartMarker(c) && markerAt(text, i)) {
            marker = i;
        }
    }
    finishLine(n);
    result.RecordCount = store.RecordCount();
    return result;
}

}  // namespace pelorin
