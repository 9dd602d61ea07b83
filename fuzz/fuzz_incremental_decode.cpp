// Edits of a text of paragraphs, applied both to the incremental decoder and to the plain text:
// after every edit the decoder's store and counts must be exactly what Decode_Text gives for
// the whole text joined by CR LF, records beyond RecordCount included.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "pelorin/incremental_decoder.h"

namespace {

// Both stores end every input alike, so both start the next one alike: records beyond
// RecordCount left from earlier decodes included.
pelorin::TelemetryStore gStore;
pelorin::TelemetryStore gReference;

using Paragraph = std::vector<std::u16string>;

constexpr std::size_t kMostNewParagraphs = 8;
constexpr std::size_t kMostLinesInParagraph = 3;
constexpr std::size_t kMostCopies = 1100;  // past the table's 1000 records
constexpr int kMostEdits = 8;              // so that an input stays quick
constexpr std::size_t kMostOtherUnits = 24;

// A frame whose digits come from the input, often damaged or with foreign characters.
std::u16string Frame(FuzzedDataProvider& input) {
    static const char16_t* hex = u"0123456789ABCDEFabcdef";
    std::u16string line(pelorin::FrameMarker.begin(), pelorin::FrameMarker.end());
    for (int k = 0; k < pelorin::kFrameDigits; ++k) {
        line += hex[input.ConsumeIntegralInRange<int>(0, 21)];
    }
    switch (input.ConsumeIntegralInRange<int>(0, 5)) {
        case 0:
            line.pop_back();
            break;
        case 1:
            line += u'0';
            break;
        case 2:
            line[input.ConsumeIntegralInRange<std::size_t>(0, line.size() - 1)] =
                input.ConsumeIntegral<char16_t>();
            break;
        case 3:
            line.insert(0, u"[12:00] ");
            break;
        default:
            break;
    }
    return line;
}

// Any units, with no CR LF inside: that pair ends a line.
std::u16string Other(FuzzedDataProvider& input) {
    std::u16string line(input.ConsumeIntegralInRange<std::size_t>(0, kMostOtherUnits), u' ');
    for (char16_t& c : line) {
        c = input.ConsumeIntegral<char16_t>();
        if (c == u'\n' && &c != line.data() && *(&c - 1) == u'\r') {
            c = u'n';
        }
    }
    return line;
}

std::u16string Line(FuzzedDataProvider& input) {
    return input.ConsumeBool() ? Frame(input) : Other(input);
}

std::u16string WholeText(const std::vector<Paragraph>& paragraphs) {
    std::u16string text;
    bool first = true;
    for (const Paragraph& paragraph : paragraphs) {
        for (const std::u16string& line : paragraph) {
            text += (first ? u"" : u"\r\n") + line;
            first = false;
        }
    }
    return text;
}

void CheckSame(const pelorin::DecodeResult& got, const pelorin::DecodeResult& want) {
    FUZZ_CHECK(got.RecordCount == want.RecordCount);
    FUZZ_CHECK(got.telemetryLines == want.telemetryLines);
    FUZZ_CHECK(got.droppedLines == want.droppedLines);
    FUZZ_CHECK(got.damagedLines == want.damagedLines);
    FUZZ_CHECK(got.emptyLines == want.emptyLines);
    FUZZ_CHECK(got.totalLines == want.totalLines);
    FUZZ_CHECK(got.suspectLines == want.suspectLines);
    FUZZ_CHECK(got.damagedLineNumbers == want.damagedLineNumbers);
    FUZZ_CHECK(got.suspectLineNumbers == want.suspectLineNumbers);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<Paragraph> paragraphs{Paragraph{u""}};
    pelorin::IncrementalDecoder decoder;
    bool copied = false;
    for (int edit = 0; edit < kMostEdits && input.remaining_bytes() > 0; ++edit) {
        const std::size_t count = paragraphs.size();
        const auto first = input.ConsumeIntegralInRange<std::size_t>(0, count);
        const auto removed = input.ConsumeIntegralInRange<std::size_t>(0, count - first);
        std::vector<Paragraph> fresh(
            input.ConsumeIntegralInRange<std::size_t>(0, kMostNewParagraphs));
        for (Paragraph& paragraph : fresh) {
            paragraph.resize(input.ConsumeIntegralInRange<std::size_t>(1, kMostLinesInParagraph));
            for (std::u16string& line : paragraph) {
                line = Line(input);
            }
        }
        if (!fresh.empty() && !copied && input.ConsumeIntegralInRange<int>(0, 63) == 0) {
            copied = true;
            fresh.insert(fresh.end(), input.ConsumeIntegralInRange<std::size_t>(0, kMostCopies),
                         Paragraph{fresh.front().front()});
        }
        std::vector<pelorin::LineMark> marks;
        for (const Paragraph& paragraph : fresh) {
            for (std::size_t k = 0; k < paragraph.size(); ++k) {
                marks.push_back({pelorin::ClassifyLine(paragraph[k]), k + 1 == paragraph.size()});
            }
        }
        decoder.replaceParagraphs(static_cast<std::int64_t>(first),
                                  static_cast<std::int64_t>(removed), marks);
        paragraphs.erase(paragraphs.begin() + static_cast<std::ptrdiff_t>(first),
                         paragraphs.begin() + static_cast<std::ptrdiff_t>(first + removed));
        paragraphs.insert(paragraphs.begin() + static_cast<std::ptrdiff_t>(first), fresh.begin(),
                          fresh.end());

        // Now and then several edits come before an update.
        const bool last = edit + 1 == kMostEdits || input.remaining_bytes() == 0;
        if (!last && input.ConsumeIntegralInRange<int>(0, 3) == 0) {
            continue;
        }
        const pelorin::DecodeResult got =
            decoder.update(gStore, [&paragraphs](const pelorin::LinePlace& place) {
                const Paragraph& paragraph =
                    paragraphs.at(static_cast<std::size_t>(place.paragraph));
                return std::u16string_view(
                    paragraph.at(static_cast<std::size_t>(place.lineInParagraph)));
            });
        CheckSame(got, pelorin::Decode_Text(WholeText(paragraphs), gReference));
        // An update writes no record beyond the new RecordCount; the whole table once at the end.
        const auto records =
            static_cast<std::size_t>(last ? pelorin::kMaxRecords : got.RecordCount);
        FUZZ_CHECK(std::memcmp(&gStore.table(), &gReference.table(),
                               (records + 1) * sizeof(pelorin::TelemetryRecord)) == 0);
    }
    return 0;
}
