#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <memory>
#include <vector>

#include "pelorin/line_index.h"

class QProgressBar;
class QThread;
class QWidget;

namespace pelorin {

class PasteBox;
class TextFileReadJob;

// Puts a text file into the paste box as one edit, one undo step, while the window stays
// responsive. A TextFileReadJob on a worker thread checks and reads the file; its pieces go
// into the box as they come, in one edit block, so that the box reports one change at the end.
// A progress dialog with Cancel shows when this takes a while. Cancel, a file that cannot be
// used, or the session's end before the load's, leaves the box as it was.
class TextFileLoadSession : public QObject {
    Q_OBJECT
  public:
    // Starts loading `path`; finished() reports the end. A child of `window`.
    TextFileLoadSession(PasteBox& box, QWidget& window, const QString& path);
    // Cancels a load under way without a signal; waits for the worker, which never blocks.
    ~TextFileLoadSession() override;

    // Ends a load under way as Cancel does, with finished(false, "").
    void cancel();

  signals:
    // `ok` when the text is in the box; else `error` says why, or is empty when cancelled.
    void finished(bool ok, const QString& error);

  private:
    void insertPiece(const QString& text, int progress);
    void complete(const QString& error, const std::vector<LineMark>& marks);
    void stopWorker();
    void end(bool ok, const QString& error);

    PasteBox& box_;
    QPointer<QProgressDialog> progress_;  // the window's child: it may go first
    QProgressBar* bar_ = nullptr;         // owned by progress_
    bool ended_ = false;

    std::unique_ptr<TextFileReadJob> job_;
    std::unique_ptr<QThread> worker_;  // runs job_
};

}  // namespace pelorin
