#pragma once

#include <QObject>
#include <QString>

class QMenu;

namespace pelorin {

class RecentFiles;

// File > Open Recent: one numbered entry per recent file, most recent first, rebuilt whenever
// the list changes; the menu is disabled while the list is empty. Choosing an entry only
// announces the file: the window decides what to do with it.
class RecentFilesMenu : public QObject {
    Q_OBJECT
  public:
    // Fills `menu` from `files`; owned by `menu`.
    RecentFilesMenu(QMenu& menu, RecentFiles& files);

  signals:
    void fileChosen(const QString& path);

  private:
    void rebuild();

    QMenu& menu_;
    RecentFiles& files_;
};

}  // namespace pelorin
