#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

#include "pelorin/log_follower.h"

namespace pelorin {

class PasteBox;
class PasteReport;

// Follows a growing log file in the paste box: the box gets the file's last 1000 telemetry
// lines with the lines between them, then each line as soon as it has ended, and loses its
// oldest lines whenever new telemetry lines would make it hold more than 1000 records. A timer
// polls the follower ten times a second.
//
// These edits are the program's, not the user's: the box makes them quietly, so the window
// decodes them through linesArrived() instead of its edit handler, and
// the document keeps no undo history while following, so that Undo never takes back a followed
// line or brings back one that left the top (undo steps count positions, which the follower's
// edits keep moving), and memory stays bounded however long a log is followed. The first edit
// the user makes in the box ends the following, as stop() does; then the whole stretch of
// following is one undo step, as opening a file is: Undo brings back the text from before.
//
// The status bar says which file is followed and how long ago its last line came (refreshed
// every second), what happened to the file (rotated, deleted, truncated), and why following
// stopped.
class LogFollowSession : public QObject {
    Q_OBJECT
  public:
    LogFollowSession(PasteBox& box, PasteReport& report, QObject* parent = nullptr);
    ~LogFollowSession() override;

    // Ends any following, puts the tail of the file at `path` into the box in place of its text
    // and follows the file from there. Returns why the file cannot be followed, "" when it is
    // followed; the box is unchanged then.
    QString start(const QString& path);
    // Ends the following, if any, and says so in the status bar with `reason` ("" for none).
    void stop(const QString& reason = QString());
    bool following() const { return follower_ != nullptr; }
    // Called with each batch taken from the log before the box shows it; `live` once the tail
    // that was there at the start has been taken.
    using BatchTap = std::function<void(const FollowBatch& batch, bool live)>;
    void setBatchTap(BatchTap tap) { tap_ = std::move(tap); }
    // Where reading of the followed file began: the start of its tail, a line start.
    std::int64_t startOffset() const { return startOffset_; }
    // A note the status bar adds to what it says of the following ("" for none).
    void setNote(const QString& note);

  signals:
    // Lines were appended to the box; `removedRecords` telemetry lines left its top before.
    void linesArrived(int removedRecords);
    void followingChanged(bool following);

  private:
    void end();
    void poll();
    // Puts one batch's lines into the box and says its events; false when it brought no line.
    bool takeBatch(int& removedRecords);
    int trimTop();
    void boxEdited();
    void showAge();

    PasteBox& box_;
    PasteReport& report_;
    std::unique_ptr<LogFollower> follower_;
    FollowBatch batch_;
    QString path_;
    QString name_;
    QString textBefore_;  // what the box held before following, for Undo
    QTimer pollTimer_;
    QTimer ageTimer_;
    QDateTime lastLine_;  // invalid while the file has brought no line
    BatchTap tap_;
    QString note_;
    std::int64_t startOffset_ = 0;
    bool live_ = false;
};

}  // namespace pelorin
