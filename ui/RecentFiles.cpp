#include "RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace pelorin {
namespace {

const char* const kRecentFilesKey = "recentFiles";

// One spelling per file, so that the same file is never listed twice.
QString Absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace

RecentFiles::RecentFiles(QObject* parent) : QObject(parent) {}

QStringList RecentFiles::files() const {
    QStringList list = QSettings().value(QString::fromLatin1(kRecentFilesKey)).toStringList();
    list.removeAll(QString());
    return list.mid(0, kMaxFiles);
}

void RecentFiles::add(const QString& path) {
    store(WithFirst(files(), path));
}

void RecentFiles::remove(const QString& path) {
    QStringList list = files();
    if (list.removeAll(Absolute(path)) > 0) {
        store(list);
    }
}

QStringList RecentFiles::WithFirst(QStringList list, const QString& path) {
    const QString first = Absolute(path);
    list.removeAll(first);
    list.prepend(first);
    return list.mid(0, kMaxFiles);
}

void RecentFiles::store(const QStringList& list) {
    QSettings().setValue(QString::fromLatin1(kRecentFilesKey), list);
    emit changed();
}

}  // namespace pelorin
