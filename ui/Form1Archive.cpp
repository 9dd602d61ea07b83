// Form1's archive: followed lines are kept as they come (unless switched off), the paste box is
// added on request, both under the station's name; the writing is ArchiveKeeper's, off this
// thread, and Label3 says what became of it.
#include <QAction>
#include <QInputDialog>
#include <QPlainTextEdit>
#include <QSettings>

#include "ArchiveKeeper.h"
#include "Form1.h"
#include "LogFollowSession.h"
#include "QtText.h"
#include "pelorin/log_follower.h"

namespace pelorin {
namespace {

constexpr const char* kKeepFollowedKey = "archive/keepFollowed";
constexpr const char* kStationKey = "archive/station";
constexpr const char* kPasteSource = "paste";

enum Purpose { kFollowed, kAdded };

QString station() {
    return QSettings().value(QString::fromLatin1(kStationKey)).toString();
}

// After these the lines come from a file's start.
bool startsAFile(FollowEventKind kind) {
    return kind == FollowEventKind::Rotated || kind == FollowEventKind::Truncated ||
           kind == FollowEventKind::Back;
}

}  // namespace

void Form1::connectArchive() {
    keeper_ = new ArchiveKeeper(this);
    MnuKeepFollowed->setCheckable(true);
    MnuKeepFollowed->setChecked(
        QSettings().value(QString::fromLatin1(kKeepFollowedKey), true).toBool());
    connect(MnuKeepFollowed, &QAction::toggled, this,
            [](bool keep) { QSettings().setValue(QString::fromLatin1(kKeepFollowedKey), keep); });
    connect(MnuAddToArchive, &QAction::triggered, this, &Form1::MnuAddToArchive_Click);
    connect(MnuStationName, &QAction::triggered, this, &Form1::MnuStationName_Click);
    follow_->setBatchTap(
        [this](const FollowBatch& batch, bool live) { keepFollowed(batch, live); });
    connect(keeper_, &ArchiveKeeper::kept, this, &Form1::showKept);
    connect(keeper_, &ArchiveKeeper::failed, this,
            [this](const QString& message) { setMessage(message, Message::Archive); });
    connect(keeper_, &ArchiveKeeper::told, this,
            [this](const QString& message) { setMessage(message, Message::Archive); });
}

// The lines of one poll, cut where the follower moved to a file's start; the tail's lines keep
// the numbers they have in the whole file.
void Form1::keepFollowed(const FollowBatch& batch, bool live) {
    if (followedFileOffset_ < 0) {
        followedFileOffset_ = follow_->startOffset();
    }
    if (!MnuKeepFollowed->isChecked()) {
        return;
    }
    const std::optional<UtcMillis> readTime =
        live ? std::optional<UtcMillis>(UtcNow()) : std::nullopt;
    std::vector<KeptLine> lines;
    std::size_t event = 0;
    const auto handOver = [&] {
        if (!lines.empty()) {
            keeper_->keep(std::move(lines), followedPath_, station(), followedFileOffset_,
                          kFollowed);
            lines.clear();
        }
    };
    for (std::size_t k = 0; k < batch.lines.size(); ++k) {
        for (; event < batch.events.size() && batch.events[event].beforeLine <= k; ++event) {
            if (startsAFile(batch.events[event].kind)) {
                handOver();
                followedFileOffset_ = 0;
            }
        }
        const FollowedLine& line = batch.lines[k];
        lines.push_back({std::string(batch.text(line)), line.number, readTime});
    }
    handOver();
}

void Form1::MnuAddToArchive_Click() {
    const bool fromFile = !openedPath_.isEmpty() && !Text2->document()->isModified();
    keeper_->keepText(Text2->toPlainText(),
                      fromFile ? openedPath_ : QString::fromLatin1(kPasteSource), station(),
                      kAdded);
    setMessage(QStringLiteral("Adding to the archive..."), Message::Archive);
}

void Form1::MnuStationName_Click() {
    bool accepted = false;
    const QString name = QInputDialog::getText(
        this, QStringLiteral("Station Name"),
        QStringLiteral("The station that hears the frames (kept with each one archived):"),
        QLineEdit::Normal, station(), &accepted);
    if (accepted) {
        QSettings().setValue(QString::fromLatin1(kStationKey), name.trimmed());
    }
}

// Followed lines are counted in the status bar's line about the following; an add says its
// counts at the bottom left.
void Form1::showKept(int purpose, qint64 telemetryLines, qint64 newFrames) {
    if (purpose == kFollowed) {
        followedKept_ += telemetryLines;
        followedNew_ += newFrames;
        follow_->setNote(IntegerText(followedKept_) + QStringLiteral(" archived, ") +
                         IntegerText(followedNew_) + QStringLiteral(" new"));
        return;
    }
    setMessage(QStringLiteral("Archive: ") + IntegerText(telemetryLines) +
                   QStringLiteral(" telemetry lines added, ") + IntegerText(newFrames) +
                   QStringLiteral(" new frames."),
               Message::Archive);
}

}  // namespace pelorin
