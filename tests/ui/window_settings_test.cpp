// What the main window keeps between runs: its geometry and the file dialogs' folders, while
// everything the window starts with stays as it was.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <climits>

#include "WindowSettings.h"
#include "window_driver.h"

namespace {

using pelorin::WindowSettings;

class WindowSettingsTest : public ::testing::Test {
  protected:
    WindowSettingsTest() { QSettings().clear(); }
    ~WindowSettingsTest() override { QSettings().clear(); }
};

QSplitter* SplitterOf(const WindowDriver& window) {
    return window.find<QSplitter>(QStringLiteral("Splitter"));
}

TEST_F(WindowSettingsTest, GeometryAndSplitterAreKeptAtCloseAndRestoredWithTheSameStart) {
    QList<int> splitterSizes;
    {
        WindowDriver first;
        first.form().setGeometry(70, 90, 1100, 700);
        WindowDriver::Settle();
        QSplitter* splitter = SplitterOf(first);
        splitter->setSizes({splitter->sizes()[0] + 40, splitter->sizes()[1] - 40});
        splitterSizes = splitter->sizes();
        first.form().close();
    }
    WindowDriver second;
    EXPECT_EQ(second.form().geometry(), QRect(70, 90, 1100, 700));
    EXPECT_EQ(SplitterOf(second)->sizes(), splitterSizes);
    // As at every start: empty paste box, selector at 1, the focus in the system time.
    EXPECT_EQ(second.pasteBox()->toPlainText(), QString());
    EXPECT_EQ(second.selector()->value(), 1);
    EXPECT_EQ(second.form().focusWidget(), second.box(0));
    second.form().showMaximized();
    WindowDriver::Settle();
    second.form().close();
    EXPECT_TRUE(WindowDriver().form().isMaximized());
}

TEST_F(WindowSettingsTest, AWindowKeptOnAScreenGoneSinceComesBackOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint gone[] = {
        {-4000, -4000}, {screen.right() + 500, 100}, {100, screen.bottom() + 50}};
    for (const QPoint& place : gone) {
        {
            WindowDriver first;
            first.form().move(place);
            first.form().close();
        }
        WindowDriver second;
        const QRect frame = second.form().frameGeometry();
        EXPECT_TRUE(screen.contains(frame.topLeft())) << place.x() << "," << place.y();
        EXPECT_TRUE(screen.intersects(frame));
    }
    QSettings().setValue(QStringLiteral("window/geometry"), QStringLiteral("left"));
    EXPECT_TRUE(screen.contains(WindowDriver().form().frameGeometry().topLeft()));
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
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
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
