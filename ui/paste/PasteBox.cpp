#include "PasteBox.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextDocument>
#include <utility>

#include "paste/PasteBoxDecoder.h"

namespace pelorin {
namespace {

// Puts `text` (blocks separated by U+2029, as toRawText() gives them) in place of the whole
// document, in one edit.
void ReplaceText(QTextDocument& document, const QString& text) {
    QTextCursor all(&document);
    all.beginEditBlock();
    all.select(QTextCursor::Document);
    all.insertText(text);
    all.endEditBlock();
}

bool ScrolledToEnd(const QScrollBar& scroll) {
    return scroll.value() == scroll.maximum();
}

}  // namespace

PasteBox::PasteBox(QPlainTextEdit& box, QObject* parent)
    : QObject(parent), box_(box), decoder_(new PasteBoxDecoder(*box.document(), this)) {}

QTextDocument& PasteBox::document() const {
    return *box_.document();
}

DecodeResult PasteBox::update(TelemetryStore& store) {
    return decoder_->update(store);
}

std::int64_t PasteBox::telemetryLines() const {
    return decoder_->telemetryLines();
}

int PasteBox::telemetryBlock(std::int64_t rank) const {
    return decoder_->telemetryBlock(rank);
}

PasteBox::View PasteBox::view() const {
    const QTextCursor cursor = box_.textCursor();
    return {cursor.anchor(), cursor.position(), box_.horizontalScrollBar()->value(),
            box_.verticalScrollBar()->value()};
}

void PasteBox::restoreView(const View& view) {
    QTextCursor restored(&document());
    restored.setPosition(view.anchor);
    restored.setPosition(view.position, QTextCursor::KeepAnchor);
    box_.setTextCursor(restored);
    box_.horizontalScrollBar()->setValue(view.scrolledX);
    box_.verticalScrollBar()->setValue(view.scrolledY);
}

void PasteBox::replaceSilently(const QString& text) {
    const QSignalBlocker quiet(&box_);
    QTextCursor all(&document());
    all.select(QTextCursor::Document);
    all.insertText(text);
}

int PasteBox::append(const QString& lines) {
    const QSignalBlocker quiet(&box_);
    QScrollBar& scroll = *box_.verticalScrollBar();
    const bool atEnd = ScrolledToEnd(scroll);
    const int first = document().isEmpty() ? 0 : document().blockCount();
    QTextCursor cursor(&document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(first == 0 ? lines : QLatin1Char('\n') + lines);
    if (atEnd) {
        scroll.setValue(scroll.maximum());
    }
    return first;
}

void PasteBox::trimTop(int blocks) {
    const QSignalBlocker quiet(&box_);
    QScrollBar& scroll = *box_.verticalScrollBar();
    const bool atEnd = ScrolledToEnd(scroll);
    decoder_->removeFirstBlocks(blocks);
    scroll.setValue(atEnd ? scroll.maximum() : scroll.value() - blocks);
}

void PasteBox::putUnder(const QString& earlier) {
    QTextDocument& text = document();
    const QString shown = text.toRawText();
    if (earlier == shown) {
        text.setUndoRedoEnabled(true);
        return;
    }
    const View kept = view();
    {
        const QSignalBlocker quiet(&box_);
        decoder_->setSuspended(true);
        ReplaceText(text, earlier);
        text.setUndoRedoEnabled(true);
        ReplaceText(text, shown);
        decoder_->setSuspended(false);
    }
    restoreView(kept);
}

void PasteBox::beginReplacement() {
    viewBefore_ = view();
    wasReadOnly_ = box_.isReadOnly();
    box_.setReadOnly(true);
    replaced_ = false;
    replacement_ = QTextCursor(&document());
    replacement_.beginEditBlock();
    replacement_.select(QTextCursor::Document);
}

void PasteBox::addToReplacement(const QString& piece) {
    replacement_.insertText(piece);
    replaced_ = true;
}

void PasteBox::keepReplacement(std::vector<LineMark> marks) {
    if (!replaced_) {
        replacement_.insertText(QString());  // no text at all empties the box
    }
    box_.setReadOnly(wasReadOnly_);
    decoder_->changeWithKnownLines(std::move(marks), [this] { replacement_.endEditBlock(); });
    replacement_ = QTextCursor();
}

// The edit block ends and is undone before the document reports it, so the decode never sees it.
void PasteBox::dropReplacement() {
    {
        const QSignalBlocker quiet(&box_);
        decoder_->setSuspended(true);
        replacement_.endEditBlock();
        if (replaced_) {
            document().undo();
            document().clearUndoRedoStacks(QTextDocument::RedoStack);
        }
        decoder_->setSuspended(false);
    }
    replacement_ = QTextCursor();
    restoreView(viewBefore_);
    box_.setReadOnly(wasReadOnly_);
}

// CR LF, LF and CR all end a line of the box.
void PasteBox::paste(const QString& text) {
    QTextCursor cursor = box_.textCursor();
    cursor.insertText(text);
    box_.setTextCursor(cursor);
    box_.ensureCursorVisible();
}

bool PasteBox::HoldsLines(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

}  // namespace pelorin
