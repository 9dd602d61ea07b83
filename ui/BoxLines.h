#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pelorin/line_index.h"

namespace pelorin {

// How the paste box's text breaks into the decoder's lines. The box's document holds blocks;
// its plain text, which the decoder has always been given, ends a line at each block end and
// at each U+2028 (line separator) within a block, and reads a no-break space as a blank.
namespace box_lines {

inline constexpr char16_t kParagraphSeparator = u'\u2029';
inline constexpr char16_t kLineSeparator = u'\u2028';
inline constexpr char16_t kNoBreakSpace = u'\u00A0';

// Marks the lines of text read from the document (block ends given as U+2029, as a selection
// of the document reads them), `text` ending at a block end, and appends them to `marks`.
void MarkDocumentText(std::u16string_view text, std::vector<LineMark>& marks);

// Line `index` (from 0) of block text `block`, as the decoder reads it.
std::u16string DecoderLine(std::u16string_view block, std::int64_t index);

// Marks the lines of a text that is about to be inserted into the document, given piece by
// piece. The document starts a block at each line feed, carriage return, U+2029 and frame
// break character, so those end paragraphs here.
class InsertedTextMarks {
  public:
    void add(std::u16string_view piece);
    // The marks of all lines, the last one (after the last break) included.
    std::vector<LineMark> finish();

  private:
    std::u16string open_;  // the line begun at the end of the last piece
    std::vector<LineMark> marks_;
};

}  // namespace box_lines
}  // namespace pelorin
