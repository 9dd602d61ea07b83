// The incremental decoder against Decode_Text of the whole text after every edit: the same
// table (records beyond RecordCount included, which both leave from earlier decodes) and the
// same counts and line numbers.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "frames.h"
#include "pelorin/incremental_decoder.h"

namespace {

using pelorin::DecodeResult;
using pelorin::IncrementalDecoder;
using pelorin::LineMark;
using pelorin::LinePlace;
using Paragraph = std::vector<std::u16string>;

void ExpectSameResult(const DecodeResult& got, const DecodeResult& want) {
    EXPECT_EQ(got.RecordCount, want.RecordCount);
    EXPECT_EQ(got.telemetryLines, want.telemetryLines);
    EXPECT_EQ(got.droppedLines, want.droppedLines);
    EXPECT_EQ(got.damagedLines, want.damagedLines);
    EXPECT_EQ(got.emptyLines, want.emptyLines);
    EXPECT_EQ(got.totalLines, want.totalLines);
    EXPECT_EQ(got.suspectLines, want.suspectLines);
    EXPECT_EQ(got.damagedLineNumbers, want.damagedLineNumbers);
    EXPECT_EQ(got.suspectLineNumbers, want.suspectLineNumbers);
}

// A text of paragraphs, edited both ways.
class EditedText {
  public:
    explicit EditedText(unsigned seed) : rng_(seed), paragraphs_{Paragraph{u""}} {}

    // Replaces a random run of paragraphs by up to `most` new ones, or now and then removes
    // up to `most` paragraphs at the start, as a followed log's oldest lines leave.
    void edit(std::int64_t most) {
        const auto count = static_cast<std::int64_t>(paragraphs_.size());
        if (count > 1 && upTo(3) == 0) {
            const std::int64_t removed = 1 + upTo(std::min(count - 2, most - 1));
            decoder_.removeLeadingParagraphs(removed);
            paragraphs_.erase(paragraphs_.begin(), paragraphs_.begin() + removed);
            return;
        }
        const std::int64_t first = upTo(count);
        const std::int64_t removed = upTo(std::min<std::int64_t>(count - first, most));
        std::vector<Paragraph> fresh(static_cast<std::size_t>(upTo(most)));
        std::vector<LineMark> marks;
        for (Paragraph& paragraph : fresh) {
            paragraph.resize(static_cast<std::size_t>(upTo(5) == 0 ? 1 + upTo(3) : 1));
            for (std::u16string& line : paragraph) {
                line = randomLine();
                marks.push_back({pelorin::ClassifyLine(line), false});
            }
            marks.back().endsParagraph = true;
        }
        decoder_.replaceParagraphs(first, removed, marks);
        paragraphs_.erase(paragraphs_.begin() + first, paragraphs_.begin() + first + removed);
        paragraphs_.insert(paragraphs_.begin() + first, fresh.begin(), fresh.end());
    }

    void expectSameAsAFullDecode() {
        const DecodeResult got = decoder_.update(store_, [this](const LinePlace& place) {
            return std::u16string_view(paragraphs_.at(static_cast<std::size_t>(place.paragraph))
                                           .at(static_cast<std::size_t>(place.lineInParagraph)));
        });
        const DecodeResult want = pelorin::Decode_Text(wholeText(), reference_);
        ExpectSameResult(got, want);
        EXPECT_EQ(
            std::memcmp(&store_.table(), &reference_.table(), sizeof(pelorin::TelemetryTable)), 0);
    }

  private:
    std::int64_t upTo(std::int64_t n) {
        return std::uniform_int_distribution<std::int64_t>(0, n)(rng_);
    }
    std::u16string randomLine() {
        std::string line = testframes::lineWithTime(static_cast<unsigned>(upTo(1 << 20)));
        switch (upTo(7)) {
            case 0:
                return u"";
            case 1:
                return u"beacon \r";
            case 2:
                line.pop_back();  // damaged
                break;
            case 3:
                line[static_cast<std::size_t>(20 + upTo(100))] = 'x';  // suspect
                break;
            case 4:
                line = "[12:00] " + line;
                break;
            default:
                break;
        }
        return testframes::toU16(line);
    }
    std::u16string wholeText() const {
        std::u16string text;
        bool first = true;
        for (const Paragraph& paragraph : paragraphs_) {
            for (const std::u16string& line : paragraph) {
                text += (first ? u"" : u"\r\n") + line;
                first = false;
            }
        }
        return text;
    }

    std::mt19937 rng_;
    std::vector<Paragraph> paragraphs_;
    IncrementalDecoder decoder_;
    pelorin::TelemetryStore store_;
    pelorin::TelemetryStore reference_;
};

TEST(IncrementalDecoder, EqualsAFullDecodeAfterEveryEdit) {
    // Small edits near few lines, then large ones that cross the table's 1000 records and the
    // 50 listed line numbers.
    const std::pair<std::int64_t, int> cases[] = {{3, 400}, {400, 40}};
    for (const auto& [most, steps] : cases) {
        SCOPED_TRACE(most);
        EditedText text(static_cast<unsigned>(most));
        for (int step = 0; step < steps; ++step) {
            text.edit(most);
            if (step % 3 == 0) {
                text.edit(most);  // two edits before one update
            }
            text.expectSameAsAFullDecode();
            if (testing::Test::HasFailure()) {
                return;
            }
        }
    }
}

}  // namespace
