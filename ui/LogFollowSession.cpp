#include "LogFollowSession.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <algorithm>
#include <utility>

#include "PasteReport.h"
#include "QtText.h"
#include "paste/PasteBox.h"
#include "pelorin/follow_messages.h"
#include "pelorin/tail_start.h"
#include "pelorin/telemetry_table.h"
#include "records/ReceptionTime.h"

namespace pelorin {
namespace {

// Ten polls a second keep a line's delay well under a quarter of a second at no idle cost.
constexpr int kPollMs = 100;
// Other lines than telemetry are bounded too, so that a log of few telemetry lines fills
// neither the box nor memory: at the start only the log's last bytes are read, and while
// following the oldest lines leave beyond this many others.
constexpr std::int64_t kMaxTailBytes = 8LL * 1024 * 1024;
constexpr int kMaxOtherLines = 50000;
constexpr std::int64_t kBytesPerMegabyte = 1024 * 1024;
constexpr int kAgeRefreshMs = 1000;
constexpr qint64 kSecondsPerMinute = 60;
constexpr qint64 kSecondsPerHour = 3600;

QString AgeText(qint64 seconds) {
    seconds = std::max<qint64>(seconds, 0);
    if (seconds < kSecondsPerMinute) {
        return IntegerText(seconds) + QStringLiteral(" s");
    }
    if (seconds < kSecondsPerHour) {
        return IntegerText(seconds / kSecondsPerMinute) + QStringLiteral(" min");
    }
    return IntegerText(seconds / kSecondsPerHour) + QStringLiteral(" h");
}

}  // namespace

LogFollowSession::LogFollowSession(PasteBox& box, PasteReport& report, QObject* parent)
    : QObject(parent), box_(box), report_(report) {
    pollTimer_.setInterval(kPollMs);
    ageTimer_.setInterval(kAgeRefreshMs);
    connect(&pollTimer_, &QTimer::timeout, this, &LogFollowSession::poll);
    connect(&ageTimer_, &QTimer::timeout, this, &LogFollowSession::showAge);
    // The follower's own edits are quiet: this is the user.
    connect(&box_.box(), &QPlainTextEdit::textChanged, this, &LogFollowSession::boxEdited);
}

LogFollowSession::~LogFollowSession() = default;

QString LogFollowSession::start(const QString& path) {
    const std::string local = QFile::encodeName(path).toStdString();
    const TailStart tail = FindTailStart(local, kMaxRecords, kMaxTailBytes);
    auto follower = std::make_unique<LogFollower>(local);
    const int error = tail.error != 0 ? tail.error : follower->start(tail.offset);
    if (error != 0) {
        return QStringLiteral("Could not follow %1: %2.")
            .arg(path, QString::fromLocal8Bit(FollowErrorText(error)));
    }
    if (following()) {
        end();  // the text before the first follow stays the one Undo brings back
    } else {
        textBefore_ = box_.document().toRawText();
    }
    follower_ = std::move(follower);
    startOffset_ = tail.offset;
    live_ = false;
    path_ = path;
    name_ = QFileInfo(path).fileName();
    lastLine_ = {};
    box_.document().setUndoRedoEnabled(false);  // also forgets the history before
    report_.showFollowEvent(
        tail.cut ? QStringLiteral("%1: its first %2 MB were not read (the box takes at most the "
                                  "last %3 MB of a log)")
                       .arg(name_, IntegerText(tail.offset / kBytesPerMegabyte),
                            IntegerText(kMaxTailBytes / kBytesPerMegabyte))
                 : QString());
    box_.replaceSilently(QString());
    int removed = 0;
    while (following() && takeBatch(removed) && batch_.more) {
    }
    if (!following()) {
        return {};  // the tail is in the box, but the file could not be read on: said already
    }
    live_ = true;
    if (!box_.document().isEmpty()) {
        lastLine_ = QFileInfo(path).lastModified();  // when the tail's last line was written
    }
    pollTimer_.start();
    ageTimer_.start();
    showAge();
    emit followingChanged(true);
    return {};
}

void LogFollowSession::stop(const QString& reason) {
    if (!follower_) {
        return;
    }
    end();
    // The box keeps what it shows, and Undo brings back the text from before following, as
    // after opening a file.
    box_.putUnder(std::exchange(textBefore_, QString()));
    report_.showFollowEvent(QString());
    const QString stopped = QStringLiteral("Stopped following ") + name_;
    report_.showFollowing(
        reason.isEmpty() ? stopped + QLatin1Char('.') : stopped + QStringLiteral(": ") + reason,
        path_);
    emit followingChanged(false);
}

void LogFollowSession::end() {
    follower_.reset();
    pollTimer_.stop();
    ageTimer_.stop();
}

void LogFollowSession::poll() {
    if (!following()) {
        return;  // a poll queued before the stop
    }
    int removed = 0;
    const bool arrived = takeBatch(removed);
    // The window's events are handled between the batches of a large append.
    if (following() && batch_.more) {
        QTimer::singleShot(0, this, &LogFollowSession::poll);
    }
    if (arrived) {
        lastLine_ = QDateTime::currentDateTimeUtc();
        showAge();
        emit linesArrived(removed);
    }
}

bool LogFollowSession::takeBatch(int& removedRecords) {
    follower_->poll(batch_);
    if (tap_) {
        tap_(batch_, live_);
    }
    QString lines;
    for (std::size_t k = 0; k < batch_.lines.size(); ++k) {
        const std::string_view text = batch_.text(batch_.lines[k]);
        if (k > 0) {
            lines += QLatin1Char('\n');
        }
        lines += ToQString(WithoutByteOrderMark(text));  // a mark is no part of a line
    }
    const bool any = !batch_.lines.empty();
    if (any) {
        const int first = box_.append(lines);
        if (live_) {
            MarkReadTime(box_.document(), first, box_.document().blockCount() - 1,
                         QDateTime::currentDateTimeUtc());
        }
        removedRecords += trimTop();
    }
    for (const FollowEvent& event : batch_.events) {
        const QString message = ToQString(FollowEventMessage(event, name_.toStdString()));
        if (event.kind == FollowEventKind::ReadFailed) {
            stop(message);
            break;
        }
        report_.showFollowEvent(message);
    }
    return any;
}

// Removes the lines before the first of the newest 1000 telemetry lines, and the oldest lines
// beyond kMaxOtherLines others; returns how many telemetry lines went.
int LogFollowSession::trimTop() {
    const std::int64_t telemetry = box_.telemetryLines();
    const std::int64_t excess = telemetry - kMaxRecords;
    const int others = box_.document().blockCount() - static_cast<int>(telemetry);
    const int blocks =
        std::max(excess > 0 ? box_.telemetryBlock(excess) : 0, others - kMaxOtherLines);
    if (blocks <= 0) {
        return 0;
    }
    box_.trimTop(blocks);
    return static_cast<int>(telemetry - box_.telemetryLines());
}

void LogFollowSession::boxEdited() {
    stop(QStringLiteral("the paste box was edited."));
}

void LogFollowSession::showAge() {
    const QString followed = QStringLiteral("Following ") + name_;
    if (!lastLine_.isValid()) {
        report_.showFollowing(followed + QStringLiteral(": no line yet") + note_, path_);
        return;
    }
    const qint64 age = lastLine_.secsTo(QDateTime::currentDateTimeUtc());
    report_.showFollowing(
        followed + QStringLiteral(": last line ") + AgeText(age) + QStringLiteral(" ago") + note_,
        path_);
}

void LogFollowSession::setNote(const QString& note) {
    note_ = note.isEmpty() ? QString() : QStringLiteral("; ") + note;
    if (following()) {
        showAge();
    }
}

}  // namespace pelorin
