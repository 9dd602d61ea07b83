#include "pelorin/line_index.h"

#include <algorithm>
#include <iterator>

namespace pelorin {
namespace {

// A mark byte: the class in the low two bits, the paragraph end above them.
constexpr std::uint8_t kClassBits = 0x3;
constexpr std::uint8_t kParagraphEndBit = 0x4;

// A mark is counted by tally t when (mark & kTallyMask[t]) == kTallyValue[t].
constexpr std::array<std::uint8_t, kTallies> kTallyMask = {kClassBits, kClassBits, kClassBits,
                                                           kParagraphEndBit};
constexpr std::array<std::uint8_t, kTallies> kTallyValue = {
    static_cast<std::uint8_t>(LineClass::Telemetry), static_cast<std::uint8_t>(LineClass::Damaged),
    static_cast<std::uint8_t>(LineClass::Empty), kParagraphEndBit};

constexpr std::size_t Index(Tally tally) {
    return static_cast<std::size_t>(tally);
}

constexpr bool Counted(std::uint8_t mark, Tally tally) {
    return (mark & kTallyMask[Index(tally)]) == kTallyValue[Index(tally)];
}

constexpr std::uint8_t Encode(const LineMark& mark) {
    return static_cast<std::uint8_t>(static_cast<std::uint8_t>(mark.kind) |
                                     (mark.endsParagraph ? kParagraphEndBit : 0));
}

std::array<std::int64_t, kTallies> CountMarks(const std::vector<std::uint8_t>& marks) {
    std::array<std::int64_t, kTallies> counts{};
    for (std::size_t t = 0; t < kTallies; ++t) {
        counts[t] = std::count_if(marks.begin(), marks.end(), [t](std::uint8_t mark) {
            return (mark & kTallyMask[t]) == kTallyValue[t];
        });
    }
    return counts;
}

void Add(std::array<std::int64_t, kTallies>& to, const std::array<std::int64_t, kTallies>& counts,
         std::int64_t sign) {
    for (std::size_t t = 0; t < kTallies; ++t) {
        to[t] += sign * counts[t];
    }
}

// Lines after the last paragraph end of `marks`; -1 when there is none.
std::int64_t LinesAfterLastParagraphEnd(const std::vector<std::uint8_t>& marks) {
    for (std::size_t k = marks.size(); k > 0; --k) {
        if ((marks[k - 1] & kParagraphEndBit) != 0) {
            return static_cast<std::int64_t>(marks.size() - k);
        }
    }
    return -1;
}

}  // namespace

LineIndex::ChunkPosition LineIndex::chunkAtLine(std::int64_t line) const {
    ChunkPosition at{0, 0, {}};
    for (; at.chunk + 1 < chunks_.size(); ++at.chunk) {
        const Chunk& chunk = chunks_[at.chunk];
        const auto size = static_cast<std::int64_t>(chunk.marks.size());
        if (line <= at.firstLine + size) {
            break;
        }
        at.firstLine += size;
        Add(at.before, chunk.counts, 1);
    }
    return at;
}

LineIndex::ChunkPosition LineIndex::chunkAtCounted(Tally tally, std::int64_t k) const {
    ChunkPosition at{0, 0, {}};
    for (; at.chunk + 1 < chunks_.size(); ++at.chunk) {
        const Chunk& chunk = chunks_[at.chunk];
        if (k < at.before[Index(tally)] + chunk.counts[Index(tally)]) {
            break;
        }
        at.firstLine += static_cast<std::int64_t>(chunk.marks.size());
        Add(at.before, chunk.counts, 1);
    }
    return at;
}

std::int64_t LineIndex::openParagraphLinesBefore(std::size_t chunk) const {
    std::int64_t open = 0;
    while (chunk > 0) {
        const std::vector<std::uint8_t>& marks = chunks_[--chunk].marks;
        const std::int64_t after = LinesAfterLastParagraphEnd(marks);
        if (after >= 0) {
            return open + after;
        }
        open += static_cast<std::int64_t>(marks.size());
    }
    return open;
}

std::int64_t LineIndex::countBefore(Tally tally, std::int64_t line) const {
    if (chunks_.empty()) {
        return 0;
    }
    const ChunkPosition at = chunkAtLine(line);
    const std::vector<std::uint8_t>& marks = chunks_[at.chunk].marks;
    return at.before[Index(tally)] +
           std::count_if(marks.begin(), marks.begin() + (line - at.firstLine),
                         [tally](std::uint8_t mark) { return Counted(mark, tally); });
}

std::int64_t LineIndex::paragraphStart(std::int64_t paragraph) const {
    if (paragraph == 0) {
        return 0;
    }
    const std::int64_t end = paragraph - 1;  // the paragraph end that precedes it
    const ChunkPosition at = chunkAtCounted(Tally::ParagraphEnd, end);
    std::int64_t seen = at.before[Index(Tally::ParagraphEnd)];
    const Chunk& chunk = chunks_[at.chunk];
    const std::vector<std::uint8_t>& marks = chunk.marks;
    if (chunk.counts[Index(Tally::ParagraphEnd)] == static_cast<std::int64_t>(marks.size())) {
        return at.firstLine + (end - seen) + 1;  // every line ends its paragraph, as is usual
    }
    for (std::size_t k = 0; k < marks.size(); ++k) {
        if ((marks[k] & kParagraphEndBit) != 0 && seen++ == end) {
            return at.firstLine + static_cast<std::int64_t>(k) + 1;
        }
    }
    return lines_;  // not reached for a paragraph that exists
}

void LineIndex::forEachFrom(Tally tally, std::int64_t first,
                            const std::function<bool(const LinePlace&)>& visit) const {
    if (first >= count(tally)) {
        return;
    }
    const ChunkPosition at = chunkAtCounted(tally, first);
    std::int64_t rank = at.before[Index(tally)];
    LinePlace place{at.firstLine, at.before[Index(Tally::ParagraphEnd)],
                    openParagraphLinesBefore(at.chunk)};
    for (std::size_t c = at.chunk; c < chunks_.size(); ++c) {
        const Chunk& chunk = chunks_[c];
        if (chunk.counts[Index(tally)] == 0) {
            const std::int64_t after = LinesAfterLastParagraphEnd(chunk.marks);
            place.line += static_cast<std::int64_t>(chunk.marks.size());
            place.paragraph += chunk.counts[Index(Tally::ParagraphEnd)];
            place.lineInParagraph =
                after >= 0 ? after
                           : place.lineInParagraph + static_cast<std::int64_t>(chunk.marks.size());
            continue;
        }
        for (const std::uint8_t mark : chunk.marks) {
            if (Counted(mark, tally) && rank++ >= first && !visit(place)) {
                return;
            }
            const bool ends = (mark & kParagraphEndBit) != 0;
            place.paragraph += ends ? 1 : 0;
            place.lineInParagraph = ends ? 0 : place.lineInParagraph + 1;
            ++place.line;
        }
    }
}

void LineIndex::replace(std::int64_t first, std::int64_t count, std::span<const LineMark> marks) {
    std::vector<std::uint8_t> combined;
    if (chunks_.empty()) {
        combined.reserve(marks.size());
        std::transform(marks.begin(), marks.end(), std::back_inserter(combined), Encode);
        replaceChunks(0, 0, std::move(combined));
        return;
    }
    const ChunkPosition begin = chunkAtLine(first);
    const ChunkPosition end = chunkAtLine(first + count);
    const std::vector<std::uint8_t>& head = chunks_[begin.chunk].marks;
    const std::vector<std::uint8_t>& tail = chunks_[end.chunk].marks;
    const auto kept = static_cast<std::size_t>(first - begin.firstLine);
    const auto resumed = static_cast<std::size_t>(first + count - end.firstLine);
    combined.reserve(kept + marks.size() + (tail.size() - resumed) + kChunkLines);
    combined.insert(combined.end(), head.begin(), head.begin() + static_cast<std::ptrdiff_t>(kept));
    std::transform(marks.begin(), marks.end(), std::back_inserter(combined), Encode);
    combined.insert(combined.end(), tail.begin() + static_cast<std::ptrdiff_t>(resumed),
                    tail.end());

    std::size_t from = begin.chunk;
    std::size_t to = end.chunk + 1;
    // A small remainder joins a neighbour, so that chunks stay at least half full.
    if (combined.size() < kChunkLines / 2) {
        if (to < chunks_.size()) {
            const std::vector<std::uint8_t>& next = chunks_[to++].marks;
            combined.insert(combined.end(), next.begin(), next.end());
        } else if (from > 0) {
            const std::vector<std::uint8_t>& previous = chunks_[--from].marks;
            combined.insert(combined.begin(), previous.begin(), previous.end());
        }
    }
    replaceChunks(from, to, std::move(combined));
}

// Puts `marks` in place of chunks [first, last), in as few chunks as hold them, evenly filled.
void LineIndex::replaceChunks(std::size_t first, std::size_t last,
                              std::vector<std::uint8_t> marks) {
    for (std::size_t c = first; c < last; ++c) {
        Add(totals_, chunks_[c].counts, -1);
        lines_ -= static_cast<std::int64_t>(chunks_[c].marks.size());
    }
    const std::size_t pieces = (marks.size() + kChunkLines - 1) / kChunkLines;
    std::vector<Chunk> fresh(pieces);
    std::size_t taken = 0;
    for (std::size_t p = 0; p < pieces; ++p) {
        const std::size_t size = marks.size() / pieces + (p < marks.size() % pieces ? 1 : 0);
        if (pieces == 1) {
            fresh[p].marks = std::move(marks);
        } else {
            fresh[p].marks.assign(marks.begin() + static_cast<std::ptrdiff_t>(taken),
                                  marks.begin() + static_cast<std::ptrdiff_t>(taken + size));
        }
        taken += size;
        fresh[p].counts = CountMarks(fresh[p].marks);
        Add(totals_, fresh[p].counts, 1);
        lines_ += static_cast<std::int64_t>(fresh[p].marks.size());
    }
    // Reuse the places of the old chunks, so that a one-chunk edit moves no other chunk.
    const std::size_t reused = std::min(pieces, last - first);
    std::move(fresh.begin(), fresh.begin() + static_cast<std::ptrdiff_t>(reused),
              chunks_.begin() + static_cast<std::ptrdiff_t>(first));
    const auto at = chunks_.begin() + static_cast<std::ptrdiff_t>(first + reused);
    if (pieces < last - first) {
        chunks_.erase(at, chunks_.begin() + static_cast<std::ptrdiff_t>(last));
    } else {
        chunks_.insert(at,
                       std::make_move_iterator(fresh.begin() + static_cast<std::ptrdiff_t>(reused)),
                       std::make_move_iterator(fresh.end()));
    }
}

}  // namespace pelorin
