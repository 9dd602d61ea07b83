#pragma once

#include <QObject>
#include <QString>
#include <QTextCursor>
#include <cstdint>
#include <vector>

#include "pelorin/incremental_decoder.h"

class QPlainTextEdit;
class QTextDocument;

namespace pelorin {

class PasteBoxDecoder;

// The paste box Text2 and the decode of its text, kept up to date edit by edit. The user's
// edits reach the window through the box's textChanged(). The program's edits are made here,
// and the box stays quiet while they are made: the decode follows them, or, for an edit that is
// undone or whose text is put back, is spared them, so that the box is always as the decode
// knows it.
class PasteBox : public QObject {
    Q_OBJECT
  public:
    // Reads the whole of `box` and follows its changes from then on; owned by `parent`.
    explicit PasteBox(QPlainTextEdit& box, QObject* parent = nullptr);

    QPlainTextEdit& box() const { return box_; }
    QTextDocument& document() const;

    // Brings `store` up to date with the box and returns the counts of its whole text.
    DecodeResult update(TelemetryStore& store);
    // The telemetry lines the box holds now, and the block of the `rank`-th of them (from 0),
    // -1 when there are fewer: as the document stands, before update().
    std::int64_t telemetryLines() const;
    int telemetryBlock(std::int64_t rank) const;

    // What the box shows: its cursor and selection as positions (a cursor would move with the
    // text), and its scroll position.
    struct View {
        int anchor = 0;
        int position = 0;
        int scrolledX = 0;
        int scrolledY = 0;
    };
    View view() const;
    void restoreView(const View& view);

    // Puts `text` in place of the whole text.
    void replaceSilently(const QString& text);
    // Puts `lines` after the last line; a box scrolled to its end stays there. Returns the
    // number of the first block they went into.
    int append(const QString& lines);
    // Removes the first `blocks` blocks (not all of them); the lines in view stay in view.
    void trimTop(int blocks);
    // Makes `earlier` the text that Undo brings back, beneath the text the box holds, which
    // stays in view as it is. Undo is enabled again; there is nothing to undo when `earlier` is
    // the text the box holds.
    void putUnder(const QString& earlier);

    // Puts a whole new text into the box in pieces, as one edit and one undo step that reports
    // one change at its end. The box takes no typing meanwhile.
    void beginReplacement();
    void addToReplacement(const QString& piece);
    // Ends the replacement, taking `marks` as the marks of its lines (made while they were
    // read) instead of reading them back from the document.
    void keepReplacement(std::vector<LineMark> marks);
    // Ends the replacement and takes it back without a word: the text, its undo history, the
    // cursor and the scroll position are as before it began.
    void dropReplacement();

    // Inserts `text` at the cursor as the user's paste would: one edit, one undo step.
    void paste(const QString& text);
    // Text that belongs in this box rather than in a one-line box: it holds a line break.
    static bool HoldsLines(const QString& text);

  private:
    QPlainTextEdit& box_;
    PasteBoxDecoder* decoder_ = nullptr;
    QTextCursor replacement_;
    View viewBefore_;  // of the replacement under way
    bool replaced_ = false;
    bool wasReadOnly_ = false;
};

}  // namespace pelorin
