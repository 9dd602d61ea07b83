#include "ExportFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>
#include <QFile>

namespace pelorin {
namespace {

// Creating a file needs write and search permission on the folder, for the effective user;
// an immutable folder or a read-only file system refuses even the superuser. A folder that is
// not there at all is no reason to write elsewhere: the write says so.
bool isClosed(const QString& folder) {
    if (::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS) ==
        0) {
        return false;
    }
    return errno == EACCES || errno == EPERM || errno == EROFS;
}

}  // namespace

QString ExportFolder(const QString& programFolder, const QString& documentsFolder) {
    if (!isClosed(programFolder) || documentsFolder.isEmpty() || !QDir().mkpath(documentsFolder)) {
        return programFolder;
    }
    return documentsFolder;
}

}  // namespace pelorin
