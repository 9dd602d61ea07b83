// The window on screens smaller and larger than its designed size: the screens of
// screens-fit.json, a 1366 x 768 laptop, 1920 x 1080 at 150 % and a large one.
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTest>

#include "window_driver.h"

namespace {

TEST(ScreenFit, WindowOpensInsideTheScreenAndItsClientScrollsWhereItDoesNotFit) {
    const std::pair<const char*, bool> screens[] = {
        {"laptop", true}, {"scaled", true}, {"large", false}};
    for (const auto& [name, scrolls] : screens) {
        SCOPED_TRACE(name);
        QScreen* screen = nullptr;
        for (QScreen* candidate : QGuiApplication::screens()) {
            screen = candidate->name() == QString::fromLatin1(name) ? candidate : screen;
        }
        ASSERT_NE(screen, nullptr)
            << "run with QT_QPA_PLATFORM=offscreen:configfile=screens-fit.json";
        pelorin::Form1 form;
        form.setScreen(screen);
        form.move(screen->availableGeometry().topLeft() + QPoint(100, 100));
        form.show();
        WindowDriver::Settle();
        EXPECT_TRUE(screen->availableGeometry().contains(form.frameGeometry()));
        auto* client = form.findChild<QWidget*>(QStringLiteral("ClientArea"));
        EXPECT_EQ(client->size(), QSize(778, 797));  // the layout as designed
        auto* area = form.findChild<QScrollArea*>(QStringLiteral("ClientScroll"));
        ASSERT_NE(area, nullptr);
        EXPECT_EQ(area->verticalScrollBar()->isVisible(), scrolls);
        if (!scrolls) {
            EXPECT_EQ(form.height(),
                      form.menuBar()->height() + client->height() + form.statusBar()->height());
            EXPECT_EQ(form.minimumSize(), form.maximumSize());
        }
        // Tabbing from the time box to the selector (enabled by a decode) brings the bottom
        // line into view.
        form.findChild<QPlainTextEdit*>(QStringLiteral("Text2"))
            ->setPlainText(QString::fromStdString(testframes::line()));
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.findChild<QWidget*>(QStringLiteral("Text1_0"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("HScroll1"));
        for (const char* bottom : {"Label3", "Label2", "HScroll1"}) {
            auto* widget = form.findChild<QWidget*>(QString::fromLatin1(bottom));
            const QRect shown(widget->mapTo(area->viewport(), QPoint(0, 0)), widget->size());
            EXPECT_TRUE(area->viewport()->rect().contains(shown)) << bottom;
        }
    }
}

}  // namespace
