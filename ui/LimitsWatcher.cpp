#include "LimitsWatcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace pelorin {
namespace {

constexpr int kSettleMilliseconds = 100;  // an editor's save may touch the file several times
const QString kWarningSeparator = QStringLiteral("; ");

bool SameLoad(const LimitsLoad& a, const LimitsLoad& b) {
    auto sameWarning = [](const LimitsWarning& x, const LimitsWarning& y) {
        return x.line == y.line && x.what == y.what;
    };
    return a.limits == b.limits && a.missing == b.missing &&
           std::equal(a.warnings.begin(), a.warnings.end(), b.warnings.begin(), b.warnings.end(),
                      sameWarning);
}

// The folder itself, or the nearest parent that exists.
QString NearestExistingFolder(const QString& file) {
    QDir folder = QFileInfo(file).absoluteDir();
    while (!folder.exists() && folder.cdUp()) {
    }
    return folder.absolutePath();
}

}  // namespace

LimitsWatcher::LimitsWatcher(const QString& file, QObject* parent) : QObject(parent), file_(file) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMilliseconds);
    connect(&settle_, &QTimer::timeout, this, &LimitsWatcher::reload);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_,
            qOverload<>(&QTimer::start));
    load_.missing = true;
    if (!file_.isEmpty()) {
        load_ = LoadLimitsFile(QFile::encodeName(file_).toStdString());
        watch();
    }
}

QString LimitsWatcher::warningText() const {
    QStringList lines;
    for (const LimitsWarning& warning : load_.warnings) {
        lines.append(QString::fromStdString(FormatLimitsWarning(file_.toStdString(), warning)));
    }
    return lines.join(kWarningSeparator);
}

// A replaced file leaves the watch list, and a new folder must join it: watch afresh each time.
void LimitsWatcher::watch() {
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    if (!watcher_.directories().isEmpty()) {
        watcher_.removePaths(watcher_.directories());
    }
    watcher_.addPath(NearestExistingFolder(file_));
    if (QFileInfo::exists(file_)) {
        watcher_.addPath(file_);
    }
}

void LimitsWatcher::reload() {
    watch();
    LimitsLoad load = LoadLimitsFile(QFile::encodeName(file_).toStdString());
    if (SameLoad(load, load_)) {
        return;
    }
    load_ = std::move(load);
    emit changed();
}

}  // namespace pelorin
