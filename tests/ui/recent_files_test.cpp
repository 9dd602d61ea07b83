// File > Open Recent: the list of the files opened last, and its menu in the main window.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "RecentFiles.h"
#include "window_driver.h"

namespace {

using pelorin::RecentFiles;

class RecentFilesTest : public ::testing::Test {
  protected:
    RecentFilesTest() { QSettings().clear(); }
    ~RecentFilesTest() override { QSettings().clear(); }

    QString path(int n) const {
        return QDir(dir_.path()).filePath(QStringLiteral("%1.txt").arg(n));
    }
    QString write(int n) const {
        std::ofstream(path(n).toStdString()) << testframes::lineWithTime(n);
        return path(n);
    }
    QAction* entry(int n) const {
        return window_.find<QAction>(QStringLiteral("MnuRecentFile_%1").arg(n));
    }
    QString pasted() const { return window_.pasteBox()->toPlainText(); }

    QTemporaryDir dir_;
    WindowDriver window_;
};

TEST_F(RecentFilesTest, MostRecentFirstEachOnceAtMostEightKeptForTheNextRun) {
    RecentFiles recent;
    for (int n = 1; n <= 10; ++n) {
        recent.add(path(n));
    }
    recent.add(dir_.path() + QStringLiteral("/sub/../5.txt"));  // the same file again
    const QStringList expected = {path(5), path(10), path(9), path(8),
                                  path(7), path(6),  path(4), path(3)};
    EXPECT_EQ(RecentFiles().files(), expected);
    recent.remove(path(10));
    EXPECT_EQ(RecentFiles().files(), expected.mid(0, 1) + expected.mid(2));
}

TEST_F(RecentFilesTest, TheMenuOpensListedFilesAndDropsMissingOnes) {
    QMenu* menu = window_.find<QAction>(QStringLiteral("MnuOpenRecent"))->menu();
    EXPECT_FALSE(menu->isEnabled());  // nothing opened yet
    ASSERT_TRUE(LoadAndWait(window_.form(), write(1)));
    ASSERT_TRUE(LoadAndWait(window_.form(), write(2)));
    ASSERT_TRUE(menu->isEnabled());
    EXPECT_EQ(entry(1)->text(), QStringLiteral("&1 ") + QDir::toNativeSeparators(path(2)));

    entry(2)->trigger();  // the older file, which comes first again
    QTRY_COMPARE(pasted(), QString::fromStdString(testframes::lineWithTime(1)));
    EXPECT_EQ(entry(1)->text(), QStringLiteral("&1 ") + QDir::toNativeSeparators(path(1)));

    ASSERT_TRUE(QFile::remove(path(2)));
    entry(2)->trigger();
    EXPECT_EQ(window_.label("Label3")->text(),
              path(2) + QStringLiteral(" no longer exists; it was taken off Open Recent."));
    EXPECT_EQ(pasted().toStdString(), testframes::lineWithTime(1));
    EXPECT_EQ(menu->actions().size(), 1);
}

}  // namespace
