#include "BoxLines.h"

#include <algorithm>

#include "pelorin/incremental_decoder.h"

namespace pelorin::box_lines {
namespace {

constexpr char16_t kBeginningOfFrame = u'\uFDD0';
constexpr char16_t kEndOfFrame = u'\uFDD1';

enum class Break { None, Line, Paragraph };

// Within the document: a block's text keeps U+2028, and the plain text the decoder reads turns
// it, and the frame characters, into line breaks.
Break DocumentBreak(char16_t c) {
    switch (c) {
        case kParagraphSeparator:
            return Break::Paragraph;
        case kLineSeparator:
        case u'\n':
        case kBeginningOfFrame:
        case kEndOfFrame:
            return Break::Line;
        default:
            return Break::None;
    }
}

// In text being inserted: QTextCursor::insertText starts a new block at each of these.
Break InsertedBreak(char16_t c) {
    switch (c) {
        case u'\n':
        case u'\r':
        case kParagraphSeparator:
        case kBeginningOfFrame:
        case kEndOfFrame:
            return Break::Paragraph;
        case kLineSeparator:
            return Break::Line;
        default:
            return Break::None;
    }
}

// Calls `take(line, endsParagraph)` for every line of `text` that a break ends; returns where
// the unended rest begins.
template <typename BreakOf, typename Take>
std::size_t SplitLines(std::u16string_view text, BreakOf breakOf, Take take) {
    std::size_t start = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const Break kind = breakOf(text[k]);
        if (kind != Break::None) {
            take(text.substr(start, k - start), kind == Break::Paragraph);
            start = k + 1;
        }
    }
    return start;
}

void Mark(std::vector<LineMark>& marks, std::u16string_view line, bool endsParagraph) {
    marks.push_back({ClassifyLine(line), endsParagraph});
}

}  // namespace

void MarkDocumentText(std::u16string_view text, std::vector<LineMark>& marks) {
    const std::size_t rest = SplitLines(
        text, DocumentBreak, [&marks](auto line, bool ends) { Mark(marks, line, ends); });
    Mark(marks, text.substr(rest), true);
}

std::u16string DecoderLine(std::u16string_view block, std::int64_t index) {
    std::u16string_view found;
    std::int64_t seen = 0;
    const std::size_t rest = SplitLines(
        block, DocumentBreak, [&](auto line, bool) { found = seen++ == index ? line : found; });
    if (seen == index) {
        found = block.substr(rest);
    }
    std::u16string line(found);
    std::replace(line.begin(), line.end(), kNoBreakSpace, u' ');
    return line;
}

void InsertedTextMarks::add(std::u16string_view piece) {
    const auto take = [this](std::u16string_view line, bool ends) {
        if (open_.empty()) {
            Mark(marks_, line, ends);
        } else {
            open_ += line;
            Mark(marks_, open_, ends);
            open_.clear();
        }
    };
    open_ += piece.substr(SplitLines(piece, InsertedBreak, take));
}

std::vector<LineMark> InsertedTextMarks::finish() {
    Mark(marks_, open_, true);
    open_.clear();
    return std::move(marks_);
}

}  // namespace pelorin::box_lines
