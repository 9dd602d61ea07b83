// File > Open Recent: the list of the files opened last, and its menu in the main window.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
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
        return QDir(dir_.path()).filePath(QStringLiteral("pass%1.txt").arg(n));
    }
    QString write(int n, const std::string& text) const {
        std::ofstream(path(n).toStdString(), std::ios::binary) << text;
        return path(n);
    }

    QTemporaryDir dir_;
};

TEST_F(RecentFilesTest, MostRecentFirstEachOnceAtMostEightKeptForTheNextRun) {
    RecentFiles recent;
    for (int n = 1; n <= 10; ++n) {
        recent.add(path(n));
    }
    recent.add(QDir(dir_.path()).filePath(QStringLiteral("sub/../pass5.txt")));  // again
    const QStringList expected = {path(5), path(10), path(9), path(8),
                                  path(7), path(6),  path(4), path(3)};
    EXPECT_EQ(recent.files(), expected);
    EXPECT_EQ(RecentFiles().files(), expected);

    recent.remove(path(10));
    recent.remove(path(1));  // not listed: nothing changes
    EXPECT_EQ(RecentFiles().files().size(), 7);
    EXPECT_FALSE(RecentFiles().files().contains(path(10)));
}

TEST_F(RecentFilesTest, TheMenuOpensListedFilesAndDropsMissingOnes) {
    WindowDriver window;
    auto* menu = window.find<QAction>(QStringLiteral("MnuOpenRecent"))->menu();
    EXPECT_FALSE(menu->isEnabled());  // nothing opened yet

    ASSERT_TRUE(window.form().loadTextFile(write(1, testframes::lineWithTime(1))));
    ASSERT_TRUE(window.form().loadTextFile(write(2, testframes::lineWithTime(2))));
    ASSERT_TRUE(menu->isEnabled());
    ASSERT_EQ(menu->actions().size(), 2);
    auto entry = [&window](int n) {
        return window.find<QAction>(QStringLiteral("MnuRecentFile_%1").arg(n));
    };
    EXPECT_EQ(entry(1)->text(), QStringLiteral("&1 ") + QDir::toNativeSeparators(path(2)));
    EXPECT_EQ(entry(2)->text(), QStringLiteral("&2 ") + QDir::toNativeSeparators(path(1)));

    // The older file comes first again when chosen.
    entry(2)->trigger();
    WindowDriver::Settle();
    EXPECT_EQ(window.pasteBox()->toPlainText().toStdString(), testframes::lineWithTime(1));
    EXPECT_EQ(entry(1)->text(), QStringLiteral("&1 ") + QDir::toNativeSeparators(path(1)));

    // A file gone since is taken off the list and the box keeps its text.
    ASSERT_TRUE(QFile::remove(path(2)));
    entry(2)->trigger();
    WindowDriver::Settle();
    EXPECT_EQ(window.label("Label3")->text(),
              path(2) + QStringLiteral(" no longer exists; it was taken off Open Recent."));
    EXPECT_EQ(window.pasteBox()->toPlainText().toStdString(), testframes::lineWithTime(1));
    EXPECT_EQ(RecentFiles().files(), QStringList{path(1)});
    EXPECT_EQ(menu->actions().size(), 1);
}

}  // namespace
