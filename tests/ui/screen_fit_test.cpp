// The window on screens of several sizes (screens-fit.json): a 1366 x 768 laptop, 1920 x 1080
// at 150 %, a large one and a small one.
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>

#include "window_driver.h"

namespace {

QScreen* NamedScreen(const char* name) {
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == QString::fromLatin1(name)) {
            return screen;
        }
    }
    ADD_FAILURE() << "run with QT_QPA_PLATFORM=offscreen:configfile=screens-fit.json";
    return nullptr;
}

// Whether `widget` shows whole inside `area`'s viewport.
bool ShownIn(const QScrollArea& area, const QWidget& widget) {
    const QRect shown(widget.mapTo(area.viewport(), QPoint(0, 0)), widget.size());
    return area.viewport()->rect().contains(shown);
}

struct ScreenCase {
    const char* name;
    bool scrolls;  // the screen is smaller than the client's smallest size
};

TEST(ScreenFit, WindowFillsItsScreenAndOnlyASmallScreenScrolls) {
    const ScreenCase screens[] = {
        {"laptop", false}, {"scaled", false}, {"large", false}, {"small", true}};
    int laptopChartHeight = 0;
    for (const ScreenCase& c : screens) {
        SCOPED_TRACE(c.name);
        QScreen* screen = NamedScreen(c.name);
        ASSERT_NE(screen, nullptr);
        pelorin::Form1 form;
        form.setScreen(screen);
        form.move(screen->availableGeometry().topLeft() + QPoint(100, 100));
        form.show();
        WindowDriver::Settle();
        EXPECT_TRUE(screen->availableGeometry().contains(form.frameGeometry()));
        auto* area = form.findChild<QScrollArea*>(QStringLiteral("ClientScroll"));
        ASSERT_NE(area, nullptr);
        const bool scrolls =
            area->verticalScrollBar()->isVisible() || area->horizontalScrollBar()->isVisible();
        EXPECT_EQ(scrolls, c.scrolls);
        // The value block keeps its designed size; the paste box and the chart have room.
        EXPECT_EQ(form.findChild<QWidget*>(QStringLiteral("ValueBlock"))->size(), QSize(778, 353));
        auto* paste = form.findChild<QPlainTextEdit*>(QStringLiteral("Text2"));
        EXPECT_GE(paste->viewport()->height(), 4 * QFontMetrics(paste->font()).lineSpacing());
        auto* chart = form.findChild<QWidget*>(QStringLiteral("MSChart1"));
        EXPECT_GE(chart->height(), 180);
        if (!c.scrolls) {
            EXPECT_TRUE(ShownIn(*area, *chart));
            EXPECT_TRUE(ShownIn(*area, *paste));
        }
        if (QStringLiteral("laptop") == QLatin1String(c.name)) {
            laptopChartHeight = chart->height();
        } else if (QStringLiteral("large") == QLatin1String(c.name)) {
            EXPECT_GT(chart->height(), laptopChartHeight);  // a larger screen, a larger chart
        }
        // The messages, the selector and the paste report stay in the window, outside the
        // scrolling client.
        for (const char* bottom : {"Label3", "Label2", "HScroll1"}) {
            auto* widget = form.findChild<QWidget*>(QString::fromLatin1(bottom));
            EXPECT_FALSE(area->isAncestorOf(widget)) << bottom;
            EXPECT_TRUE(form.rect().contains(QRect(widget->mapTo(&form, QPoint()), widget->size())))
                << bottom;
        }
        EXPECT_TRUE(form.statusBar()->isVisible());

        // A control that gets the focus is scrolled into view.
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        for (const char* name : {"MSChart1", "Text1_0", "Text1_29"}) {
            auto* widget = form.findChild<QWidget*>(QString::fromLatin1(name));
            widget->setFocus();
            WindowDriver::Settle();
            EXPECT_TRUE(ShownIn(*area, *widget)) << name;
        }
    }
}

TEST(ScreenFit, MaximisedWindowGivesItsWidthToThePasteBoxAndTheChart) {
    QScreen* screen = NamedScreen("laptop");
    ASSERT_NE(screen, nullptr);
    pelorin::Form1 form;
    form.setScreen(screen);
    form.setGeometry(
        QRect(screen->availableGeometry().topLeft() + QPoint(20, 40), QSize(1000, 650)));
    form.show();
    WindowDriver::Settle();
    auto* chart = form.findChild<QWidget*>(QStringLiteral("MSChart1"));
    auto* paste = form.findChild<QWidget*>(QStringLiteral("Text2"));
    const QSize chartBefore = chart->size();
    const int pasteBefore = paste->width();
    form.showMaximized();
    WindowDriver::Settle();
    EXPECT_EQ(form.frameGeometry().width(), screen->availableGeometry().width());
    EXPECT_GT(chart->width(), chartBefore.width());
    EXPECT_GT(chart->height(), chartBefore.height());
    EXPECT_GT(paste->width(), pasteBefore);
}

}  // namespace
