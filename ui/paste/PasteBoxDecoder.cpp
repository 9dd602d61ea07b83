#include "PasteBoxDecoder.h"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "BoxLines.h"
#include "QtText.h"

namespace pelorin {
namespace {

// Characters selected at once when many blocks changed.
constexpr int kSliceCharacters = 1 << 20;
// A change of more than this share of the document is read from a copy of the whole text.
constexpr qint64 kWholeTextShare = 4;

}  // namespace

PasteBoxDecoder::PasteBoxDecoder(QTextDocument& document, QObject* parent)
    : QObject(parent), document_(document) {
    rereadAll();
    connect(&document_, &QTextDocument::contentsChange, this, &PasteBoxDecoder::contentsChange);
}

DecodeResult PasteBoxDecoder::update(TelemetryStore& store) {
    if (decoder_.paragraphs() != document_.blockCount()) {
        rereadAll();  // a change went unreported: read everything rather than count wrong
    }
    blockNumber_ = -1;
    return decoder_.update(store, [this](const LinePlace& place) { return lineText(place); });
}

void PasteBoxDecoder::changeWithKnownLines(std::vector<LineMark> marks,
                                           const std::function<void()>& change) {
    expected_ = std::move(marks);
    change();
    expected_.reset();  // also when the text was what the box held, so that nothing changed
}

void PasteBoxDecoder::removeFirstBlocks(int count) {
    QTextCursor cursor(&document_);
    cursor.setPosition(document_.findBlockByNumber(count).position(), QTextCursor::KeepAnchor);
    leadingBlocksRemoved_ = count;
    cursor.removeSelectedText();
    leadingBlocksRemoved_ = 0;
}

std::int64_t PasteBoxDecoder::telemetryLines() const {
    return decoder_.lines().count(Tally::Telemetry);
}

int PasteBoxDecoder::telemetryBlock(std::int64_t rank) const {
    if (rank < 0 || rank >= telemetryLines()) {
        return -1;
    }
    int block = -1;
    decoder_.lines().forEachFrom(Tally::Telemetry, rank, [&block](const LinePlace& place) {
        block = static_cast<int>(place.paragraph);
        return false;
    });
    return block;
}

void PasteBoxDecoder::setSuspended(bool suspended) {
    suspended_ = suspended;
}

// The change lies between `position` and `position + added` of the document as it is now:
// the blocks before the first of them and after the last are those the index holds already.
void PasteBoxDecoder::contentsChange(int position, int /*removed*/, int added) {
    if (suspended_) {
        return;
    }
    if (leadingBlocksRemoved_ > 0 && position == 0 && added == 0 &&
        decoder_.paragraphs() - document_.blockCount() == leadingBlocksRemoved_) {
        decoder_.removeLeadingParagraphs(leadingBlocksRemoved_);
        return;
    }
    const int end = document_.characterCount() - 1;
    const int first = document_.findBlock(std::clamp(position, 0, end)).blockNumber();
    const int last = document_.findBlock(std::clamp(position + added, 0, end)).blockNumber();
    const std::int64_t after = document_.blockCount() - 1 - last;
    const std::int64_t removed = decoder_.paragraphs() - after - first;
    if (removed < 0) {
        rereadAll();
        return;
    }
    replaceBlocks(first, last, removed);
}

void PasteBoxDecoder::replaceBlocks(int first, int last, std::int64_t removed) {
    const bool whole = first == 0 && last == document_.blockCount() - 1;
    const bool expected = whole && expected_ &&
                          std::count_if(expected_->begin(), expected_->end(),
                                        [](const LineMark& mark) { return mark.endsParagraph; }) ==
                              document_.blockCount();
    const std::vector<LineMark> marks = expected ? std::move(*expected_) : readBlocks(first, last);
    expected_.reset();
    decoder_.replaceParagraphs(first, removed, marks);
}

std::vector<LineMark> PasteBoxDecoder::readBlocks(int first, int last) const {
    std::vector<LineMark> marks;
    const QTextBlock lastBlock = document_.findBlockByNumber(last);
    const int begin = document_.findBlockByNumber(first).position();
    const int end = lastBlock.position() + lastBlock.length() - 1;  // before its block end
    // A selection's text is made fragment by fragment, the whole text in one copy: a large part
    // of the document is taken from the whole, a small one selected a slice at a time.
    if (static_cast<qint64>(end - begin) * kWholeTextShare > document_.characterCount()) {
        const QString whole = document_.toRawText();
        box_lines::MarkDocumentText(Utf16(whole).substr(static_cast<std::size_t>(begin),
                                                        static_cast<std::size_t>(end - begin)),
                                    marks);
        return marks;
    }
    QTextCursor cursor(&document_);
    for (int start = begin;;) {
        const QTextBlock sliceLast = document_.findBlock(std::min(end, start + kSliceCharacters));
        const int sliceEnd = std::min(end, sliceLast.position() + sliceLast.length() - 1);
        cursor.setPosition(start);
        cursor.setPosition(sliceEnd, QTextCursor::KeepAnchor);
        box_lines::MarkDocumentText(Utf16(cursor.selectedText()), marks);
        if (sliceEnd >= end) {
            return marks;
        }
        start = sliceEnd + 1;
    }
}

void PasteBoxDecoder::rereadAll() {
    decoder_.replaceParagraphs(0, decoder_.paragraphs(), readBlocks(0, document_.blockCount() - 1));
}

std::u16string_view PasteBoxDecoder::lineText(const LinePlace& place) {
    if (blockNumber_ >= 0 && place.paragraph == blockNumber_ + 1) {
        block_ = block_.next();
    } else if (place.paragraph != blockNumber_) {
        block_ = document_.findBlockByNumber(static_cast<int>(place.paragraph));
    }
    blockNumber_ = place.paragraph;
    line_ = box_lines::DecoderLine(Utf16(block_.text()), place.lineInParagraph);
    return line_;
}

}  // namespace pelorin
