// What the main window keeps between runs: its geometry and the file dialogs' folders, while
// everything the window starts with stays as it was.
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>

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

}  // namespace
