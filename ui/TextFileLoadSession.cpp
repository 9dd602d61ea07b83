#include "TextFileLoadSession.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextDocument>

#include "BoxLines.h"
#include "PasteBoxDecoder.h"
#include "QtText.h"
#include "TextFileLoader.h"

namespace pelorin {
namespace {

constexpr int kSliceMs = 15;               // the longest stretch of insertion between events
constexpr std::size_t kQueuedPieces = 16;  // pieces read ahead of the box, which bounds memory
constexpr int kProgressSteps = 1000;
constexpr int kProgressDelayMs = 300;  // a quicker load shows no dialog

}  // namespace

TextFileLoadSession::TextFileLoadSession(QPlainTextEdit& box, PasteBoxDecoder& decoder,
                                         QWidget& window)
    : box_(box), decoder_(decoder), window_(window) {}

TextFileLoadSession::~TextFileLoadSession() = default;

bool TextFileLoadSession::run(const QString& path) {
    const QTextCursor shown = box_.textCursor();
    cursorAnchor_ = shown.anchor();
    cursorPosition_ = shown.position();
    scrolledX_ = box_.horizontalScrollBar()->value();
    scrolledY_ = box_.verticalScrollBar()->value();
    wasReadOnly_ = box_.isReadOnly();
    box_.setReadOnly(true);  // until the dialog shows and blocks the window, no typing between

    progress_ = std::make_unique<QProgressDialog>(
        QStringLiteral("Opening %1").arg(QFileInfo(path).fileName()), QStringLiteral("Cancel"), 0,
        kProgressSteps, &window_);
    progress_->setObjectName(QStringLiteral("OpenProgress"));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(kProgressDelayMs);
    // Its own setValue() would run the event loop inside the insertion; the bar does not.
    bar_ = new QProgressBar(progress_.get());
    bar_->setRange(0, kProgressSteps);
    progress_->setBar(bar_);
    progress_->setValue(0);  // starts the delay after which the dialog shows
    // The Cancel button, and Escape or the close box.
    connect(progress_.get(), &QProgressDialog::canceled, this, &TextFileLoadSession::cancel);
    connect(progress_.get(), &QDialog::rejected, this, &TextFileLoadSession::cancel);

    cursor_ = QTextCursor(box_.document());
    cursor_.beginEditBlock();
    cursor_.select(QTextCursor::Document);
    worker_ = std::jthread([this, path](std::stop_token stop) { work(stop, path); });
    if (!ended_) {
        loop_.exec();
    }
    if (!ended_) {
        cancel();  // the event loop was left: the program is ending
    }
    return ok_;
}

void TextFileLoadSession::work(std::stop_token stop, const QString& path) {
    TextFileLoader loader(path);
    QString error = loader.check(stop);
    {
        const std::lock_guard lock(mutex_);
        fileBytes_ = std::max<std::int64_t>(1, loader.size());
    }
    box_lines::InsertedTextMarks marks;
    if (error.isEmpty() && !stop.stop_requested()) {
        error = loader.read([&](const QString& piece, std::int64_t bytesRead) {
            marks.add(Utf16(piece));
            return push({piece, bytesRead}, stop);
        });
    }
    finishWork(std::move(error), marks.finish());
}

bool TextFileLoadSession::push(Piece piece, const std::stop_token& stop) {
    {
        std::unique_lock lock(mutex_);
        if (!roomForPieces_.wait(lock, stop, [this] { return pieces_.size() < kQueuedPieces; })) {
            return false;
        }
        pieces_.push_back(std::move(piece));
    }
    wake();
    return true;
}

void TextFileLoadSession::finishWork(QString error, std::vector<LineMark> marks) {
    {
        const std::lock_guard lock(mutex_);
        workDone_ = true;
        workError_ = std::move(error);
        marks_ = std::move(marks);
    }
    wake();
}

// Has takePieces() run on the window's thread, unless it is due already.
void TextFileLoadSession::wake() {
    {
        const std::lock_guard lock(mutex_);
        if (woken_) {
            return;
        }
        woken_ = true;
    }
    QMetaObject::invokeMethod(this, &TextFileLoadSession::takePieces, Qt::QueuedConnection);
}

// Inserts the pieces that are ready for a short while, then lets the window handle its events.
void TextFileLoadSession::takePieces() {
    {
        const std::lock_guard lock(mutex_);
        woken_ = false;
    }
    if (ended_) {
        return;
    }
    QElapsedTimer slice;
    slice.start();
    std::int64_t bytesInserted = -1;
    while (slice.elapsed() < kSliceMs) {
        Piece piece;
        {
            const std::lock_guard lock(mutex_);
            if (pieces_.empty()) {
                break;
            }
            piece = std::move(pieces_.front());
            pieces_.pop_front();
        }
        roomForPieces_.notify_one();
        cursor_.insertText(piece.text);
        inserted_ = true;
        bytesInserted = piece.bytesRead;
    }
    std::unique_lock lock(mutex_);
    const bool more = !pieces_.empty();
    const bool done = workDone_ && !more;
    const std::int64_t fileBytes = fileBytes_;
    lock.unlock();
    if (done) {
        complete();
        return;
    }
    if (bytesInserted >= 0) {
        bar_->setValue(static_cast<int>(bytesInserted * kProgressSteps / fileBytes));
    }
    if (more) {
        wake();
    }
}

void TextFileLoadSession::complete() {
    std::vector<LineMark> marks;
    {
        const std::lock_guard lock(mutex_);
        error_ = workError_;
        marks = std::move(marks_);
    }
    if (!error_.isEmpty()) {
        rollBack();
        end(false);
        return;
    }
    if (!inserted_) {
        cursor_.insertText(QString());  // an empty file empties the box
    }
    box_.setReadOnly(wasReadOnly_);
    decoder_.changeWithKnownLines(std::move(marks), [this] { cursor_.endEditBlock(); });
    end(true);
}

void TextFileLoadSession::cancel() {
    if (ended_) {
        return;
    }
    worker_.request_stop();
    worker_.join();
    rollBack();
    end(false);
}

// Ends the edit block and undoes it without a word to the window, so that the box, its undo
// history before the load, its cursor and its scroll position are as they were.
void TextFileLoadSession::rollBack() {
    {
        const QSignalBlocker quiet(&box_);
        decoder_.setSuspended(true);
        cursor_.endEditBlock();
        if (inserted_) {
            box_.document()->undo();
            box_.document()->clearUndoRedoStacks(QTextDocument::RedoStack);
        }
        decoder_.setSuspended(false);
    }
    QTextCursor restored(box_.document());
    restored.setPosition(cursorAnchor_);
    restored.setPosition(cursorPosition_, QTextCursor::KeepAnchor);
    box_.setTextCursor(restored);
    box_.horizontalScrollBar()->setValue(scrolledX_);
    box_.verticalScrollBar()->setValue(scrolledY_);
    box_.setReadOnly(wasReadOnly_);
}

void TextFileLoadSession::end(bool ok) {
    ended_ = true;
    ok_ = ok;
    progress_->hide();
    loop_.quit();
}

}  // namespace pelorin
