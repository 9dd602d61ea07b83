// What an X server gets from the windows: their own titles, and on a 1366 x 768 screen a main
// window inside the screen. Runs under Xvfb (see CMakeLists.txt); skipped on other platforms.
#include <QAction>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include "Form2.h"
#include "ProgramStart.h"
#include "window_driver.h"

namespace {

// A window's title as xprop reads it from the server: _NET_WM_NAME = "title"
QString TitleOnTheServer(QWidget* window) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(window->winId()), QStringLiteral("-notype"),
                 QStringLiteral("_NET_WM_NAME")});
    xprop.waitForFinished();
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    return line.mid(line.indexOf(QLatin1Char('"')) + 1).chopped(1);
}

TEST(X11Window, TitleBarsShowTheWindowsOwnTitlesAndTheWindowLiesInsideTheScreen) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        GTEST_SKIP() << "needs an X server";
    }
    pelorin::ConfigureApplication();
    WindowDriver window;
    EXPECT_EQ(TitleOnTheServer(&window.form()), QStringLiteral("Pelorin Telemetry Decoder [v0.4]"));
    EXPECT_TRUE(window.form().screen()->availableGeometry().contains(window.form().frameGeometry()))
        << window.form().frameGeometry().height();

    window.find<QAction>(QStringLiteral("MnuInfo"))->trigger();
    QWidget* info = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        info = qobject_cast<pelorin::Form2*>(top) != nullptr ? top : info;
    }
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(TitleOnTheServer(info), QStringLiteral("Info"));
    info->close();
}

}  // namespace
