#include "TextFileLoadSession.h"

#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QThread>

#include "ShownText.h"
#include "TextFileReadJob.h"
#include "paste/PasteBox.h"

namespace pelorin {
namespace {

constexpr int kProgressDelayMs = 300;  // a quicker load shows no dialog

}  // namespace

TextFileLoadSession::TextFileLoadSession(PasteBox& box, QWidget& window, const QString& path)
    : QObject(&window), box_(box), job_(std::make_unique<TextFileReadJob>(path)) {
    // The box takes no typing from here on, before the dialog shows and blocks the window.
    box_.beginReplacement();

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

    // The job's signals come from the worker thread, so they are queued to this one.
    connect(job_.get(), &TextFileReadJob::pieceRead, this, &TextFileLoadSession::insertPiece);
    connect(job_.get(), &TextFileReadJob::finished, this, &TextFileLoadSession::complete);
    worker_.reset(QThread::create([job = job_.get()] { job->run(); }));
    worker_->start();
}

TextFileLoadSession::~TextFileLoadSession() {
    stopWorker();
    if (!ended_) {
        box_.dropReplacement();
    }
    delete progress_;
}

void TextFileLoadSession::insertPiece(const QString& text, int progress) {
    if (ended_) {
        return;
    }
    box_.addToReplacement(text);
    bar_->setValue(progress);
    job_->pieceTaken();
}

void TextFileLoadSession::complete(const QString& error, const std::vector<LineMark>& marks) {
    if (ended_) {
        return;
    }
    if (!error.isEmpty()) {
        box_.dropReplacement();
        end(false, error);
        return;
    }
    box_.keepReplacement(marks);
    end(true, {});
}

void TextFileLoadSession::cancel() {
    if (ended_) {
        return;
    }
    stopWorker();
    box_.dropReplacement();
    end(false, {});
}

void TextFileLoadSession::stopWorker() {
    job_->stop();
    worker_->wait();
}

void TextFileLoadSession::end(bool ok, const QString& error) {
    ended_ = true;
    progress_->hide();
    emit finished(ok, error);
}

}  // namespace pelorin
