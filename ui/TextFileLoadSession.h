#pragma once

#include <QEventLoop>
#include <QObject>
#include <QString>
#include <QTextCursor>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "pelorin/line_index.h"

class QPlainTextEdit;
class QProgressBar;
class QProgressDialog;
class QWidget;

namespace pelorin {

class PasteBoxDecoder;

// Puts a text file into the paste box as one edit, one undo step, while the window stays
// responsive. A worker thread checks the file and turns it into text a piece at a time, and
// marks its lines for the decoder on the way; the pieces go into the box between events, in one
// edit block, so that the box reports one change at the end. A progress dialog with Cancel
// shows when this takes a while. Cancel, or a file that cannot be used, leaves the box as it
// was.
class TextFileLoadSession : public QObject {
    Q_OBJECT
  public:
    TextFileLoadSession(QPlainTextEdit& box, PasteBoxDecoder& decoder, QWidget& window);
    ~TextFileLoadSession() override;

    // Loads `path` and returns when done: true when the text is in the box; else error() says
    // why, or is empty when the user cancelled.
    bool run(const QString& path);
    const QString& error() const { return error_; }

  private:
    struct Piece {
        QString text;
        std::int64_t bytesRead;
    };

    void work(std::stop_token stop, const QString& path);
    bool push(Piece piece, const std::stop_token& stop);
    void finishWork(QString error, std::vector<LineMark> marks);
    void wake();
    void takePieces();
    void complete();
    void cancel();
    void rollBack();
    void end(bool ok);

    QPlainTextEdit& box_;
    PasteBoxDecoder& decoder_;
    QWidget& window_;
    QTextCursor cursor_;
    std::unique_ptr<QProgressDialog> progress_;
    QProgressBar* bar_ = nullptr;  // owned by progress_
    QEventLoop loop_;
    bool inserted_ = false;
    bool ended_ = false;
    bool ok_ = false;
    QString error_;
    // What the box showed, for a cancelled load.
    int cursorAnchor_ = 0;
    int cursorPosition_ = 0;
    int scrolledX_ = 0;
    int scrolledY_ = 0;
    bool wasReadOnly_ = false;

    // Shared with the worker.
    std::mutex mutex_;
    std::condition_variable_any roomForPieces_;
    std::deque<Piece> pieces_;
    bool workDone_ = false;
    bool woken_ = false;  // takePieces() is due
    QString workError_;
    std::vector<LineMark> marks_;
    std::int64_t fileBytes_ = 1;

    std::jthread worker_;  // last: stopped and joined first
};

}  // namespace pelorin
