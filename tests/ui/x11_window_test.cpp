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

// The text of a window's text property as xprop reads it from the server.
QString XTextProperty(WId window, const char* property) {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(window), QStringLiteral("-notype"),
                 QString::fromLatin1(property)});
    if (!xprop.waitForFinished(5000) || xprop.exitCode() != 0) {
        return QStringLiteral("(xprop failed)");
    }
    // PROPERTY = "text"
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype open = line.indexOf(QLatin1Char('"'));
    return open < 0 ? line : line.mid(open + 1).chopped(1);
}

class X11Window : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
            GTEST_SKIP() << "needs an X server";
        }
        pelorin::ConfigureApplication();
    }
};

TEST_F(X11Window, TitleBarsShowTheWindowsOwnTitles) {
    WindowDriver window;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window.form()));
    EXPECT_EQ(XTextProperty(window.form().winId(), "_NET_WM_NAME"),
              QStringLiteral("Pelorin Telemetry Decoder [v0.4]"));

    window.find<QAction>(QStringLiteral("MnuInfo"))->trigger();
    WindowDriver::Settle();
    pelorin::Form2* info = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* form2 = qobject_cast<pelorin::Form2*>(widget); form2 && form2->isVisible()) {
            info = form2;
        }
    }
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(info));
    EXPECT_EQ(XTextProperty(info->winId(), "_NET_WM_NAME"), QStringLiteral("Info"));
    info->close();
}

TEST_F(X11Window, MainWindowLiesInsideTheScreen) {
    WindowDriver window;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window.form()));
    const QRect available = window.form().screen()->availableGeometry();
    EXPECT_TRUE(available.contains(window.form().frameGeometry()))
        << window.form().frameGeometry().height() << " > " << available.height();
}

}  // namespace
