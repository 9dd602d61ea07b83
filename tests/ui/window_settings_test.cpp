// What the main window keeps between runs: its position and the file dialogs' folders, while
// everything the window starts with stays as it was.
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include "WindowPlacement.h"
#include "WindowSettings.h"
#include "window_driver.h"

namespace {

using pelorin::WindowPlacement;
using pelorin::WindowSettings;

// Each test starts from empty settings in the test run's own folder.
class WindowSettingsTest : public ::testing::Test {
  protected:
    WindowSettingsTest() { QSettings().clear(); }
    ~WindowSettingsTest() override { QSettings().clear(); }
};

TEST(WindowPlacementRule, KeptOnlyWhereAScreenShowsTheTitleBar) {
    const QList<QRect> one = {QRect(0, 0, 1920, 1080)};
    const QList<QRect> two = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    struct Case {
        QPoint position;
        const QList<QRect>& screens;
        bool shown;
    };
    const Case cases[] = {
        {{100, 100}, one, true},    {{0, 0}, one, true},       {{-40, 100}, one, false},
        {{1850, 100}, one, false},  {{100, 1070}, one, false}, {{2500, 900}, two, true},
        {{2500, 900}, one, false},  {{1850, 100}, two, true},  // across the screens' seam
        {{1850, 1040}, two, false}, {{100, 100}, {}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowPlacement::IsShownOn(c.position, c.screens), c.shown)
            << c.position.x() << "," << c.position.y();
    }
}

TEST_F(WindowSettingsTest, PositionIsKeptAtCloseAndRestoredWithTheSameStart) {
    EXPECT_EQ(WindowSettings::position(), std::nullopt);
    {
        WindowDriver first;
        first.form().move(60, 50);
        first.form().close();
    }
    EXPECT_EQ(WindowSettings::position(), QPoint(60, 50));

    WindowDriver second;
    EXPECT_EQ(second.form().pos(), QPoint(60, 50));
    // As at every start: empty paste box, selector at 1, the focus in the system time.
    EXPECT_EQ(second.pasteBox()->toPlainText(), QString());
    EXPECT_EQ(second.selector()->value(), 1);
    EXPECT_EQ(second.form().focusWidget(), second.box(0));

    // A place no screen shows any more is left to the system.
    WindowSettings::setPosition(QPoint(-4000, -4000));
    WindowDriver third;
    EXPECT_NE(third.form().pos(), QPoint(-4000, -4000));
    QSettings().setValue(QStringLiteral("window/position"), QStringLiteral("left"));
    EXPECT_EQ(WindowSettings::position(), std::nullopt);
}

TEST_F(WindowSettingsTest, EachDialogKeepsItsOwnFolderWhileItExists) {
    QTemporaryDir dir;
    const QDir root(dir.path());
    using Folder = WindowSettings::Folder;
    const std::pair<Folder, const char*> dialogs[] = {
        {Folder::Open, "logs"}, {Folder::Follow, "live"}, {Folder::CsvExport, "tables"}};
    for (const auto& [dialog, name] : dialogs) {
        EXPECT_EQ(WindowSettings::folder(dialog), QString()) << name;
        ASSERT_TRUE(root.mkdir(QString::fromLatin1(name)));
        WindowSettings::rememberFolderOf(
            dialog, root.filePath(QString::fromLatin1(name)) + QStringLiteral("/chosen.txt"));
    }
    for (const auto& [dialog, name] : dialogs) {
        EXPECT_EQ(WindowSettings::folder(dialog), root.filePath(QString::fromLatin1(name))) << name;
    }
    ASSERT_TRUE(QDir(root.filePath(QStringLiteral("live"))).removeRecursively());
    EXPECT_EQ(WindowSettings::folder(Folder::Follow), QString());
    EXPECT_EQ(WindowSettings::folder(Folder::Open), root.filePath(QStringLiteral("logs")));
}

}  // namespace
