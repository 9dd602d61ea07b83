#pragma once

#include <QObject>
#include <QSemaphore>
#include <QString>
#include <stop_token>
#include <vector>

#include "pelorin/line_index.h"

namespace pelorin {

// Checks a text file and reads it a piece at a time on a worker thread (run()), marking its
// lines for the decoder on the way, and reports through queued signals. At most a few pieces
// wait for the window at once, which bounds memory: the window takes each with pieceTaken().
class TextFileReadJob : public QObject {
    Q_OBJECT
  public:
    static constexpr int kProgressSteps = 1000;

    explicit TextFileReadJob(QString path);

    // On the worker thread: the whole job, ending with finished().
    void run();
    // From any thread: the window has taken a piece, so another may be read.
    void pieceTaken() { room_.release(); }
    // From any thread: ends the job soon, without waiting for the window.
    void stop();

  signals:
    // A piece of text with line feeds for line ends, and how far the file has been read,
    // 0..kProgressSteps.
    void pieceRead(const QString& text, int progress);
    // The end of the job: `error` says why the file cannot be used, "" when all of it was read
    // (or the job was stopped); `marks` are the lines of all pieces.
    void finished(const QString& error, const std::vector<pelorin::LineMark>& marks);

  private:
    QString path_;
    std::stop_source stop_;
    QSemaphore room_;
};

}  // namespace pelorin
