#include "WindowSettings.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cerrno>

namespace pelorin {
namespace {

struct FolderKey {
    WindowSettings::Folder dialog;
    const char* key;
};

constexpr std::array<FolderKey, 3> kFolderKeys = {{
    {WindowSettings::Folder::Open, "folders/open"},
    {WindowSettings::Folder::Follow, "folders/follow"},
    {WindowSettings::Folder::CsvExport, "folders/csvExport"},
}};

QString FolderKeyOf(WindowSettings::Folder dialog) {
    const auto* found = std::find_if(kFolderKeys.begin(), kFolderKeys.end(),
                                     [dialog](const FolderKey& k) { return k.dialog == dialog; });
    return QString::fromLatin1(found->key);
}

// Where QSettings keeps the program's file, as set up at the first check.
QString UserSettingsFolder() {
    static const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder;
}

}  // namespace

QString WindowSettings::guardFile() {
    const QString file = UserSettingsFolder() + QLatin1Char('/') +
                         QCoreApplication::organizationName() + QLatin1Char('/') +
                         QCoreApplication::applicationName() + QStringLiteral(".conf");
    struct stat info {};
    const bool usable = ::stat(QFile::encodeName(file).constData(), &info) == 0
                            ? S_ISREG(info.st_mode)
                            : errno == ENOENT;  // a new file is a regular one
    if (usable) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, UserSettingsFolder());
        return {};
    }
    static const QTemporaryDir privateFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, privateFolder.path());
    return file + QStringLiteral(
                      " is not a regular file: the window's settings are neither read from it "
                      "nor kept in it.");
}

QString WindowSettings::folder(Folder dialog) {
    const QString kept = QSettings().value(FolderKeyOf(dialog)).toString();
    return !kept.isEmpty() && QFileInfo(kept).isDir() ? kept : QString();
}

void WindowSettings::rememberFolderOf(Folder dialog, const QString& chosenFile) {
    QSettings().setValue(FolderKeyOf(dialog), QFileInfo(chosenFile).absolutePath());
}

}  // namespace pelorin
