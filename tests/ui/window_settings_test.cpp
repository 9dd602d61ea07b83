// What the main window keeps between runs: its position and the file dialogs' folders, while
// everything the window starts with stays as it was.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <climits>

#include "WindowPlacement.h"
#include "WindowSettings.h"
#include "window_driver.h"

namespace {

using pelorin::WindowPlacement;
using pelorin::WindowSettings;

TEST(WindowPlacementRule, KeptOnlyWhereScreensShowTheTitleBar) {
    const QList<QRect> one = {QRect(0, 0, 1920, 1080)};
    const QList<QRect> two = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const std::tuple<QPoint, QList<QRect>, bool> cases[] = {
        {{100, 100}, one, true},
        {{-40, 100}, one, false},
        {{1850, 100}, one, false},
        {{100, 1070}, one, false},
        {{2500, 900}, two, true},
        {{2500, 900}, one, false},
        {{1850, 100}, two, true},
        {{1850, 1040}, two, false},  // across the seam
        // where the grip's far corner would wrap round past the largest coordinate
        {{INT_MAX - 50, 100}, one, false},
        {{100, INT_MAX - 10}, one, false},
        {{INT_MAX, INT_MAX}, two, false}};
    for (const auto& [position, screens, shown] : cases) {
        EXPECT_EQ(WindowPlacement::IsShownOn(position, screens), shown)
            << position.x() << "," << position.y() << " on " << screens.size();
    }
}

class WindowSettingsTest : public ::testing::Test {
  protected:
    WindowSettingsTest() { QSettings().clear(); }
    ~WindowSettingsTest() override { QSettings().clear(); }
};

TEST_F(WindowSettingsTest, PositionIsKeptAtCloseAndRestoredWithTheSameStart) {
    EXPECT_EQ(WindowSettings::position(), std::nullopt);
    {
        WindowDriver first;
        first.form().move(60, 50);
        first.form().close();
    }
    WindowDriver second;
    EXPECT_EQ(second.form().pos(), QPoint(60, 50));
    // As at every start: empty paste box, selector at 1, the focus in the system time.
    EXPECT_EQ(second.pasteBox()->toPlainText(), QString());
    EXPECT_EQ(second.selector()->value(), 1);
    EXPECT_EQ(second.form().focusWidget(), second.box(0));

    WindowSettings::setPosition(QPoint(-4000, -4000));  // on a screen gone since
    EXPECT_NE(WindowDriver().form().pos(), QPoint(-4000, -4000));
    QSettings().setValue(QStringLiteral("window/position"), QStringLiteral("left"));
    EXPECT_EQ(WindowSettings::position(), std::nullopt);
}

TEST_F(WindowSettingsTest, EachDialogKeepsItsOwnFolderWhileItExists) {
    using Folder = WindowSettings::Folder;
    QTemporaryDir dir;
    const QDir root(dir.path());
    const std::pair<Folder, QString> dialogs[] = {{Folder::Open, QStringLiteral("logs")},
                                                  {Folder::Follow, QStringLiteral("live")},
                                                  {Folder::CsvExport, QStringLiteral("csv")}};
    for (const auto& [dialog, name] : dialogs) {
        EXPECT_EQ(WindowSettings::folder(dialog), QString());
        ASSERT_TRUE(root.mkdir(name));
        WindowSettings::rememberFolderOf(dialog, root.filePath(name + QStringLiteral("/a.txt")));
    }
    for (const auto& [dialog, name] : dialogs) {
        EXPECT_EQ(WindowSettings::folder(dialog), root.filePath(name));
    }
    ASSERT_TRUE(QDir(root.filePath(QStringLiteral("live"))).removeRecursively());
    EXPECT_EQ(WindowSettings::folder(Folder::Follow), QString());
}

// A settings file that is a FIFO, or a link to a device, is neither read (a FIFO would block
// the start) nor written (the device would be replaced at exit): the window starts with the
// defaults and says so.
TEST(SettingsFile, AFifoOrALinkToADeviceIsNeitherReadNorWritten) {
    const QString file = QSettings().fileName();
    const QByteArray local = QFile::encodeName(file);
    for (const bool fifo : {true, false}) {
        QFile::remove(file);
        ASSERT_EQ(fifo ? ::mkfifo(local.constData(), 0600) : ::symlink("/dev/null", local), 0);
        {
            WindowDriver window;
            EXPECT_TRUE(window.label("Label3")->text().endsWith(
                QStringLiteral(" is not a regular file: the window's settings are neither read "
                               "from it nor kept in it.")));
            window.form().move(60, 50);
            window.form().close();
        }
        struct stat info {};
        ASSERT_EQ(::lstat(local.constData(), &info), 0);
        EXPECT_TRUE(fifo ? S_ISFIFO(info.st_mode) : S_ISLNK(info.st_mode));
        ASSERT_EQ(::stat("/dev/null", &info), 0);
        EXPECT_TRUE(S_ISCHR(info.st_mode));
    }
    QFile::remove(file);
    WindowDriver usual;  // a regular file is used again
    EXPECT_TRUE(usual.label("Label3")->text().isEmpty());
    usual.form().close();
    EXPECT_TRUE(QFileInfo(file).isFile());
}

}  // namespace
