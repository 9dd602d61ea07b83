#include "TextFileLoadSession.h"

#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QThread>

#include "PasteBoxDecoder.h"
#include "ShownText.h"
#include "TextFileReadJob.h"

namespace pelorin {
namespace {

constexpr int kProgressDelayMs = 300;  // a quicker load shows no dialog

}  // namespace

TextFileLoadSession::TextFileLoadSession(QPlainTextEdit& box, PasteBoxDecoder& decoder,
                                         QWidget& window, const QString& path)
    : QObject(&window),
      box_(box),
      decoder_(decoder),
      job_(std::make_unique<TextFileReadJob>(path)) {
    const QTextCursor shown = box_.textCursor();
    cursorAnchor_ = shown.anchor();
    cursorPosition_ = shown.position();
    scrolledX_ = box_.horizontalScrollBar()->value();
    scrolledY_ = box_.verticalScrollBar()->value();
    wasReadOnly_ = box_.isReadOnly();
    box_.setReadOnly(true);  // until the dialog shows and blocks the window, no typing between

    progress_ = new QProgressDialog(&window);
    progress_->setObjectName(QStringLiteral("OpenProgress"));
    // The file's name as it is, never read as HTML.
    auto* label = new QLabel(progress_);
    label->setTextFormat(Qt::PlainText);
    progress_->setLabel(label);
    progress_->setLabelText(QStringLiteral("Opening ") + EscapedText(QFileInfo(path).fileName()));
    progress_->setCancelButtonText(QStringLiteral("Cancel"));
    progress_->setRange(0, TextFileReadJob::kProgressSteps);
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(kProgressDelayMs);
    // Its own setValue() would run the event loop inside the insertion; the bar does not.
    bar_ = new QProgressBar(progress_);
    bar_->setRange(0, TextFileReadJob::kProgressSteps);
    progress_->setBar(bar_);
    progress_->setValue(0);  // starts the delay after which the dialog shows
    // The Cancel button, and Escape or the close box.
    connect(progress_, &QProgressDialog::canceled, this, &TextFileLoadSession::cancel);
    connect(progress_, &QDialog::rejected, this, &TextFileLoadSession::cancel);

    cursor_ = QTextCursor(box_.document());
    cursor_.beginEditBlock();
    cursor_.select(QTextCursor::Document);
    // The job's signals come from the worker thread, so they are queued to this one.
    connect(job_.get(), &TextFileReadJob::pieceRead, this, &TextFileLoadSession::insertPiece);
    connect(job_.get(), &TextFileReadJob::finished, this, &TextFileLoadSession::complete);
    worker_.reset(QThread::create([job = job_.get()] { job->run(); }));
    worker_->start();
}

TextFileLoadSession::~TextFileLoadSession() {
    stopWorker();
    if (!ended_) {
        rollBack();
    }
    delete progress_;
}

void TextFileLoadSession::insertPiece(const QString& text, int progress) {
    if (ended_) {
        return;
    }
    cursor_.insertText(text);
    inserted_ = true;
    bar_->setValue(progress);
    job_->pieceTaken();
}

void TextFileLoadSession::complete(const QString& error, const std::vector<LineMark>& marks) {
    if (ended_) {
        return;
    }
    if (!error.isEmpty()) {
        rollBack();
        end(false, error);
        return;
    }
    if (!inserted_) {
        cursor_.insertText(QString());  // an empty file empties the box
    }
    box_.setReadOnly(wasReadOnly_);
    decoder_.changeWithKnownLines(std::vector<LineMark>(marks), [this] { cursor_.endEditBlock(); });
    end(true, {});
}

void TextFileLoadSession::cancel() {
    if (ended_) {
        return;
    }
    stopWorker();
    rollBack();
    end(false, {});
}

void TextFileLoadSession::stopWorker() {
    job_->stop();
    worker_->wait();
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

void TextFileLoadSession::end(bool ok, const QString& error) {
    ended_ = true;
    progress_->hide();
    emit finished(ok, error);
}

}  // namespace pelorin
