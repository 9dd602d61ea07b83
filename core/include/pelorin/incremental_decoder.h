#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

#include "pelorin/decoder.h"
#include "pelorin/line_index.h"
#include "pelorin/telemetry_table.h"

namespace pelorin {

// The class of one line (no line break in it), by ExamineLine. Never fails.
LineClass ClassifyLine(std::u16string_view line);

// The text of the line at a place; the view must stay valid until the next call.
using LineTextSource = std::function<std::u16string_view(const LinePlace&)>;

// Decode_Text kept up to date edit by edit: a text is a sequence of paragraphs of lines, an
// edit replaces some paragraphs, and update() then gives the store and the counts that
// Decode_Text gives for the whole text joined by CR LF. It re-reads only the stored records
// from the first one an edit can have moved or changed, at most 1000 lines; an edit costs what
// it changed plus a pass over the index's chunk counts.
class IncrementalDecoder {
  public:
    // An empty text: one paragraph of one empty line.
    IncrementalDecoder();

    std::int64_t paragraphs() const { return index_.count(Tally::ParagraphEnd); }
    const LineIndex& lines() const { return index_; }

    // Replaces paragraphs [first, first + removed) by the lines `marks`; the last of them must
    // end a paragraph. Ranges outside 0..paragraphs() are a caller bug.
    void replaceParagraphs(std::int64_t first, std::int64_t removed,
                           std::span<const LineMark> marks);

    // Removes paragraphs [0, count), count below paragraphs(): the records of the telemetry
    // lines after them keep their decode and move up at the next update(), so that dropping the
    // oldest lines of a growing text costs what was removed and a move of the table.
    void removeLeadingParagraphs(std::int64_t count);

    // Brings `store` up to date after the edits since the last call, reading the text of the
    // lines it decodes from `lineText`, and returns the counts of the whole text.
    DecodeResult update(TelemetryStore& store, const LineTextSource& lineText);

  private:
    static constexpr std::int64_t kNothingChanged = std::numeric_limits<std::int64_t>::max();

    // The line of each stored record, in record order, and whether it is suspect.
    struct StoredLine {
        std::int64_t line;
        bool suspect;
    };

    void storeFrom(std::int64_t rank, TelemetryStore& store, const LineTextSource& lineText);
    DecodeResult counts(const TelemetryStore& store) const;

    LineIndex index_;
    std::vector<StoredLine> stored_;
    std::int64_t changedRank_ = 0;  // the first telemetry line (from 0) an edit may have changed
    // Records of the store before the first one stored_ describes, left by removed lines.
    std::int64_t movedUpBy_ = 0;
};

}  // namespace pelorin
