#pragma once

#include <QObject>
#include <QTextBlock>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pelorin/incremental_decoder.h"

class QTextDocument;

namespace pelorin {

// The decode of the paste box, kept up to date edit by edit. The document reports where each
// change happened; the blocks it touched are read again and their lines replace the old ones
// in the line index, so that an edit costs what it changed, whatever the box holds. Typing,
// pasting, undo and redo, and edits made by the program all come through the same report.
// PasteBox owns it, and alone may spare it an edit or tell it what an edit holds.
class PasteBoxDecoder : public QObject {
    Q_OBJECT
  public:
    // Reads the whole of `document`, and follows its changes from then on.
    explicit PasteBoxDecoder(QTextDocument& document, QObject* parent = nullptr);

    // Brings `store` up to date with the box and returns the counts of its whole text, exactly
    // as Decode_Text of the box's plain text (line feeds as CR LF) gives them.
    DecodeResult update(TelemetryStore& store);

    // The telemetry lines the box holds now, and the block of the `rank`-th of them (from 0),
    // -1 when there are fewer: as the document stands, before update().
    std::int64_t telemetryLines() const;
    int telemetryBlock(std::int64_t rank) const;

  private:
    // The box's own edits, which PasteBox makes.
    friend class PasteBox;

    // Runs `change`, which puts a whole new text into the box, taking `marks` as the marks of
    // its lines (made while it was read) instead of reading them back from the document.
    void changeWithKnownLines(std::vector<LineMark> marks, const std::function<void()>& change);

    // Removes the first `count` blocks of the document (not all of them); the records of the
    // lines after them move up without being read again.
    void removeFirstBlocks(int count);

    // While suspended, changes are not followed: only for changes that are undone, or whose
    // text is put back, before it resumes, so that the box is as the index knows it.
    void setSuspended(bool suspended);

    void contentsChange(int position, int removed, int added);
    void replaceBlocks(int first, int last, std::int64_t removed);
    std::vector<LineMark> readBlocks(int first, int last) const;
    void rereadAll();
    std::u16string_view lineText(const LinePlace& place);

    QTextDocument& document_;
    IncrementalDecoder decoder_;
    std::optional<std::vector<LineMark>> expected_;
    int leadingBlocksRemoved_ = 0;  // by removeFirstBlocks(), while it runs
    bool suspended_ = false;
    // The block last read for the table, since the table's lines come in order.
    QTextBlock block_;
    std::int64_t blockNumber_ = -1;
    std::u16string line_;
};

}  // namespace pelorin
