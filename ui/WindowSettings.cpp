#include "WindowSettings.h"

#include <QFileInfo>
#include <QSettings>
#include <algorithm>
#include <array>

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

}  // namespace

QString WindowSettings::folder(Folder dialog) {
    const QString kept = QSettings().value(FolderKeyOf(dialog)).toString();
    return !kept.isEmpty() && QFileInfo(kept).isDir() ? kept : QString();
}

void WindowSettings::rememberFolderOf(Folder dialog, const QString& chosenFile) {
    QSettings().setValue(FolderKeyOf(dialog), QFileInfo(chosenFile).absolutePath());
}

}  // namespace pelorin
