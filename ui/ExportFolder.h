#pragma once

#include <QString>

namespace pelorin {

// The folder that "Write CSV File" writes into: the program's folder, unless it is closed to
// the user (no permission, immutable, read-only file system); then the user's documents folder,
// which is created if missing. When that cannot be had either, the program's folder, so that
// the write fails and says why.
QString ExportFolder(const QString& programFolder, const QString& documentsFolder);

}  // namespace pelorin
