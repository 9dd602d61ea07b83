#include "RecentFilesMenu.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include "QtText.h"
#include "RecentFiles.h"
#include "ShownText.h"

namespace pelorin {
namespace {

// Longer paths are shortened in the middle, where the folders least telling stand.
constexpr int kShownPathCharacters = 70;
const QString kEllipsis = QStringLiteral("...");

// "&3 /home/op/passes/pass.txt": the number is the entry's access key; an "&" of the path is
// shown as such.
QString EntryText(int number, const QString& path) {
    QString shown = EscapedText(QDir::toNativeSeparators(path));
    if (shown.size() > kShownPathCharacters) {
        const qsizetype keep = (kShownPathCharacters - kEllipsis.size()) / 2;
        shown = shown.left(keep) + kEllipsis + shown.right(keep);
    }
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QLatin1Char('&') + IntegerText(number) + QLatin1Char(' ') + shown;
}

}  // namespace

RecentFilesMenu::RecentFilesMenu(QMenu& menu, RecentFiles& files)
    : QObject(&menu), menu_(menu), files_(files) {
    connect(&files_, &RecentFiles::changed, this, &RecentFilesMenu::rebuild);
    rebuild();
}

void RecentFilesMenu::rebuild() {
    // The chosen entry may be the one whose signal is still running: deleted later, and
    // meanwhile no longer the menu's.
    for (QAction* old : menu_.actions()) {
        menu_.removeAction(old);
        old->setParent(nullptr);
        old->deleteLater();
    }
    const QStringList paths = files_.files();
    for (int k = 0; k < paths.size(); ++k) {
        const QString& path = paths[k];
        QAction* entry = menu_.addAction(EntryText(k + 1, path));
        entry->setObjectName(QStringLiteral("MnuRecentFile_") + IntegerText(k + 1));
        entry->setToolTip(PlainToolTip(EscapedText(QDir::toNativeSeparators(path))));
        connect(entry, &QAction::triggered, this, [this, path] { emit fileChosen(path); });
    }
    menu_.setEnabled(!paths.isEmpty());
}

}  // namespace pelorin
