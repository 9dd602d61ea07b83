// The line index against a plain vector of marks, under edits small and large enough to split,
// join and empty its chunks.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "pelorin/line_index.h"

namespace {

using pelorin::LineClass;
using pelorin::LineIndex;
using pelorin::LineMark;
using pelorin::LinePlace;
using pelorin::Tally;

constexpr Tally kAllTallies[] = {Tally::Telemetry, Tally::Damaged, Tally::Empty,
                                 Tally::ParagraphEnd};

bool CountedBy(const LineMark& mark, Tally tally) {
    switch (tally) {
        case Tally::Telemetry:
            return mark.kind == LineClass::Telemetry;
        case Tally::Damaged:
            return mark.kind == LineClass::Damaged;
        case Tally::Empty:
            return mark.kind == LineClass::Empty;
        case Tally::ParagraphEnd:
            return mark.endsParagraph;
    }
    return false;
}

// The places of the lines counted by `tally`, the plain way.
std::vector<LinePlace> PlainPlaces(const std::vector<LineMark>& marks, Tally tally) {
    std::vector<LinePlace> places;
    LinePlace place{0, 0, 0};
    for (const LineMark& mark : marks) {
        if (CountedBy(mark, tally)) {
            places.push_back(place);
        }
        ++place.line;
        place.paragraph += mark.endsParagraph ? 1 : 0;
        place.lineInParagraph = mark.endsParagraph ? 0 : place.lineInParagraph + 1;
    }
    return places;
}

std::vector<LinePlace> IndexPlaces(const LineIndex& index, Tally tally, std::int64_t first) {
    std::vector<LinePlace> places;
    index.forEachFrom(tally, first, [&places](const LinePlace& place) {
        places.push_back(place);
        return true;
    });
    return places;
}

class Edits {
  public:
    explicit Edits(unsigned seed) : rng_(seed) {}

    std::int64_t upTo(std::int64_t n) {
        return std::uniform_int_distribution<std::int64_t>(0, n)(rng_);
    }
    // Mostly paragraphs of one line, some of many (a paragraph may outgrow a chunk); some runs
    // of a single class, so that whole chunks lack the others.
    std::vector<LineMark> marks(std::int64_t count) {
        std::vector<LineMark> marks(static_cast<std::size_t>(count));
        const bool longParagraphs = upTo(4) == 0;
        const std::int64_t onlyClass = upTo(7);
        for (LineMark& mark : marks) {
            mark.kind = static_cast<LineClass>(onlyClass < 4 ? onlyClass : upTo(3));
            mark.endsParagraph = longParagraphs ? upTo(3000) == 0 : upTo(5) != 0;
        }
        return marks;
    }

  private:
    std::mt19937 rng_;
};

void ExpectSame(const LineIndex& index, const std::vector<LineMark>& plain, Edits& edits) {
    ASSERT_EQ(index.lines(), static_cast<std::int64_t>(plain.size()));
    for (const Tally tally : kAllTallies) {
        const std::vector<LinePlace> places = PlainPlaces(plain, tally);
        ASSERT_EQ(index.count(tally), static_cast<std::int64_t>(places.size()));
        const std::int64_t first = edits.upTo(static_cast<std::int64_t>(places.size()));
        ASSERT_TRUE(IndexPlaces(index, tally, first) ==
                    std::vector<LinePlace>(places.begin() + first, places.end()));
        const std::int64_t line = edits.upTo(index.lines());
        ASSERT_EQ(index.countBefore(tally, line),
                  std::count_if(plain.begin(), plain.begin() + line,
                                [tally](const LineMark& m) { return CountedBy(m, tally); }));
    }
    const std::vector<LinePlace> ends = PlainPlaces(plain, Tally::ParagraphEnd);
    const std::int64_t paragraph = edits.upTo(static_cast<std::int64_t>(ends.size()));
    ASSERT_EQ(index.paragraphStart(paragraph), paragraph == 0 ? 0 : ends[paragraph - 1].line + 1);
}

TEST(LineIndex, MatchesAPlainVectorUnderRandomEdits) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE(seed);
        Edits edits(seed);
        LineIndex index;
        std::vector<LineMark> plain;
        for (int step = 0; step < 200; ++step) {
            // Mostly keystroke-sized edits, now and then a large paste or deletion.
            const bool large = edits.upTo(10) == 0;
            const std::int64_t span = large ? 3 * LineIndex::kChunkLines : 3;
            const std::int64_t first = edits.upTo(static_cast<std::int64_t>(plain.size()));
            const std::int64_t count =
                edits.upTo(std::min<std::int64_t>(span, plain.size() - first));
            const std::vector<LineMark> marks = edits.marks(edits.upTo(span));
            index.replace(first, count, marks);
            plain.erase(plain.begin() + first, plain.begin() + first + count);
            plain.insert(plain.begin() + first, marks.begin(), marks.end());
            ExpectSame(index, plain, edits);
        }
    }
}

// Runs without telemetry, ending paragraphs or inside one, between telemetry lines that begin
// chunks (a text of whole chunks is cut at multiples of kChunkLines), so that the visit starts
// after one such chunk and skips another.
TEST(LineIndex, PlacesAfterChunksWithoutCountedLines) {
    constexpr auto kChunk = static_cast<std::int64_t>(LineIndex::kChunkLines);
    const LineMark telemetry{LineClass::Telemetry, true};
    for (const bool runEndsParagraphs : {true, false}) {
        SCOPED_TRACE(runEndsParagraphs);
        const LineMark other{LineClass::Other, runEndsParagraphs};
        std::vector<LineMark> marks(2 * kChunk, other);
        marks.insert(marks.end(), telemetry);
        marks.insert(marks.end(), 2 * kChunk - 1, other);
        marks.insert(marks.end(), telemetry);
        marks.insert(marks.end(), kChunk - 1, other);
        LineIndex index;
        index.replace(0, 0, marks);
        EXPECT_TRUE(IndexPlaces(index, Tally::Telemetry, 0) ==
                    PlainPlaces(marks, Tally::Telemetry));
    }
}

TEST(LineIndex, EmptiesAndRefills) {
    LineIndex index;
    Edits edits(9);
    const std::vector<LineMark> marks = edits.marks(5 * LineIndex::kChunkLines);
    index.replace(0, 0, marks);
    index.replace(0, index.lines(), {});
    EXPECT_EQ(index.lines(), 0);
    EXPECT_EQ(index.count(Tally::ParagraphEnd), 0);
    EXPECT_TRUE(IndexPlaces(index, Tally::Telemetry, 0).empty());
    index.replace(0, 0, marks);
    ExpectSame(index, marks, edits);
}

}  // namespace
