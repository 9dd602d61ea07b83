#pragma once

#include <cstddef>
#include <string_view>

// Where lines end in the texts this system reads: at CR LF, LF or CR. In a text read piece by
// piece, the LF of a CR LF pair split between two pieces still belongs to the CR's line end.
namespace pelorin {

inline constexpr char kLineFeed = '\n';
inline constexpr char kCarriageReturn = '\r';
// The characters that end a line, for find_first_of.
inline constexpr std::string_view kLineEndChars = "\r\n";

template <typename Char>
constexpr bool IsLineEnd(Char c) {
    return c == static_cast<Char>(kLineFeed) || c == static_cast<Char>(kCarriageReturn);
}

// The line ends of a text taken character by character or piece by piece.
class LineEnds {
  public:
    // A line ended at `c`, one of the line end characters.
    template <typename Char>
    constexpr void ended(Char c) {
        afterCarriageReturn_ = c == static_cast<Char>(kCarriageReturn);
    }
    // Whether `c`, the character after the last line end, is the LF of its CR LF pair. Call it
    // once for that character.
    template <typename Char>
    constexpr bool completesPair(Char c) {
        const bool lf = afterCarriageReturn_ && c == static_cast<Char>(kLineFeed);
        afterCarriageReturn_ = false;
        return lf;
    }
    // Whether the last line ended in CR, so that the next character may still be part of its end.
    constexpr bool awaitingLineFeed() const { return afterCarriageReturn_; }
    constexpr void reset() { afterCarriageReturn_ = false; }

  private:
    bool afterCarriageReturn_ = false;
};

// Where the line after the line end at `at` of a whole `text` begins.
constexpr std::size_t SkipLineEnd(std::string_view text, std::size_t at) {
    LineEnds ends;
    ends.ended(text[at]);
    return at + 1 < text.size() && ends.completesPair(text[at + 1]) ? at + 2 : at + 1;
}

}  // namespace pelorin
