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

// A window's property as xprop reads it from the server: what follows "NAME = " (or all of
// "NAME: value" for a window id).
QString PropertyOnTheServer(QWidget* window, const QString& name) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window->winId()),
                                          QStringLiteral("-notype"), name});
    xprop.waitForFinished();
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
}

QString TitleOnTheServer(QWidget* window) {
    return PropertyOnTheServer(window, QStringLiteral("_NET_WM_NAME")).mid(1).chopped(1);
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
    // Kept above the main window by the window manager.
    const QString owner = PropertyOnTheServer(info, QStringLiteral("WM_TRANSIENT_FOR"));
    EXPECT_TRUE(owner.endsWith(QStringLiteral("window id # 0x") +
                               QString::number(window.form().winId(), 16)))
        << owner.toStdString();
    info->close();
}

}  // namespace
