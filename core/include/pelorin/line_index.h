#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace pelorin {

// What one line of a text is, as far as the counts of a decode go.
enum class LineClass : std::uint8_t {
    Other,      // no marker, at least one character
    Empty,      // no character at all
    Damaged,    // holds the marker, but is not 122 characters long from it on
    Telemetry,  // accepted
};

// One line's class, and whether the line ends its paragraph. A paragraph is one or more lines
// that an editor keeps together (the paste box breaks a block into lines at U+2028).
struct LineMark {
    LineClass kind = LineClass::Other;
    bool endsParagraph = true;
};

// What a LineIndex counts.
enum class Tally : std::uint8_t { Telemetry, Damaged, Empty, ParagraphEnd };
inline constexpr std::size_t kTallies = 4;

// Where a line stands, all counted from 0.
struct LinePlace {
    std::int64_t line;
    std::int64_t paragraph;
    std::int64_t lineInParagraph;

    bool operator==(const LinePlace&) const = default;
};

// The marks of a text's lines, in order, with their counts kept up to date, so that replacing
// a few lines anywhere costs about kChunkLines steps and a pass over the chunk counts, not a
// pass over every line. One byte a line.
class LineIndex {
  public:
    static constexpr std::size_t kChunkLines = 2048;  // lines a chunk holds at most

    std::int64_t lines() const { return lines_; }
    std::int64_t count(Tally tally) const { return totals_[static_cast<std::size_t>(tally)]; }

    // Replaces lines [first, first + count) by `marks`. Ranges outside 0..lines() are a caller
    // bug.
    void replace(std::int64_t first, std::int64_t count, std::span<const LineMark> marks);

    // Lines counted by `tally` before line `line` (0..lines()).
    std::int64_t countBefore(Tally tally, std::int64_t line) const;
    // First line of paragraph `paragraph` (0..count(ParagraphEnd)); for the last value, the
    // line after the last paragraph end.
    std::int64_t paragraphStart(std::int64_t paragraph) const;
    // Calls `visit` with the place of every line counted by `tally`, in order, from the
    // `first`-th such line (from 0) on, until `visit` returns false.
    void forEachFrom(Tally tally, std::int64_t first,
                     const std::function<bool(const LinePlace&)>& visit) const;

  private:
    using Counts = std::array<std::int64_t, kTallies>;
    struct Chunk {
        std::vector<std::uint8_t> marks;
        Counts counts{};
    };
    // A chunk and the lines and counts of the chunks before it.
    struct ChunkPosition {
        std::size_t chunk;
        std::int64_t firstLine;
        Counts before;
    };

    // The chunk holding the position before line `line`; at a border, the earlier chunk.
    ChunkPosition chunkAtLine(std::int64_t line) const;
    // The chunk holding the `k`-th (from 0) line counted by `tally`, which must exist.
    ChunkPosition chunkAtCounted(Tally tally, std::int64_t k) const;
    // Lines since the last paragraph end before chunk `chunk`.
    std::int64_t openParagraphLinesBefore(std::size_t chunk) const;
    void replaceChunks(std::size_t first, std::size_t last, std::vector<std::uint8_t> marks);

    std::vector<Chunk> chunks_;
    Counts totals_{};
    std::int64_t lines_ = 0;
};

}  // namespace pelorin
