// The window from the keyboard: selector keys, access keys, shortcuts, F10, Escape in the info
// window and the focus frames.
#include <qcustomplot.h>
#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "Form2.h"
#include "window_driver.h"

namespace {

class Keyboard : public ::testing::Test {
  protected:
    void SetUp() override { activate(); }
    void activate() {
        window_.form().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_.form()));
    }
    // Presses `keys` with the focus in `widget`.
    static void Press(QWidget* widget, const QKeySequence& keys) {
        widget->setFocus();
        QTest::keySequence(widget, keys);
        WindowDriver::Settle();
    }
    QAction* action(const char* name) const {
        return window_.find<QAction>(QString::fromLatin1(name));
    }

    WindowDriver window_;
};

TEST_F(Keyboard, SelectorKeysStepTheRecordsOnlyWhenNoTextBoxHasTheFocus) {
    std::vector<std::string> lines;
    for (unsigned k = 1; k <= 6; ++k) {
        lines.push_back(testframes::lineWithTime(k));
    }
    window_.pasteLines(lines);
    const std::pair<Qt::Key, int> steps[] = {
        {Qt::Key_PageDown, 4}, {Qt::Key_End, 6}, {Qt::Key_PageUp, 5}, {Qt::Key_Home, 1}};
    const std::pair<QWidget*, bool> holders[] = {
        {window_.option(12), true}, {window_.selector(), true},   {window_.picture(), true},
        {window_.box(3), false},    {window_.lengthBox(), false}, {window_.pasteBox(), false}};
    for (const auto& [holder, stepsRecords] : holders) {
        window_.selector()->setValue(3);
        for (const auto& [key, position] : steps) {
            Press(holder, key);
            EXPECT_EQ(window_.selector()->value(), stepsRecords ? position : 3)
                << holder->objectName().toStdString();
        }
    }
    QLineEdit* box = window_.box(0);  // Home and End move the cursor of a value box
    Press(box, Qt::Key_End);
    EXPECT_EQ(box->cursorPosition(), box->text().size());
}

// The part of `widget` its ancestors leave in sight, in window coordinates.
QRect ShownPart(const QWidget& widget) {
    QRect shown = widget.rect();
    for (const QWidget* w = &widget; !w->isWindow(); w = w->parentWidget()) {
        shown = shown.translated(w->pos()) & w->parentWidget()->rect();
    }
    return widget.isVisible() ? shown : QRect();
}

TEST_F(Keyboard, TabVisitsEveryControlInSightAndNoneOutOfIt) {
    window_.paste(testframes::line());  // the selector takes the focus once enabled
    QWidget* start = window_.box(0);
    start->setFocus();
    QStringList visited;
    do {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        visited << focused->objectName();
        EXPECT_FALSE(ShownPart(*focused).isEmpty()) << focused->objectName().toStdString();
    } while (QApplication::focusWidget() != start && visited.size() < 200);
    EXPECT_EQ(QApplication::focusWidget(), start);
    EXPECT_FALSE(visited.contains(QStringLiteral("Text3")));
    EXPECT_FALSE(visited.contains(QStringLiteral("Option1_0")));
    for (int i = 1; i < 35; ++i) {
        EXPECT_TRUE(visited.contains(WindowDriver::indexed("Text1", i))) << i;
    }
}

TEST_F(Keyboard, ChartKeysZoomPanAndShowAllWhileTheChartHasTheFocus) {
    std::vector<std::string> lines;
    for (unsigned k = 1; k <= 40; ++k) {
        lines.push_back(testframes::lineWithTime(k));
    }
    window_.pasteLines(lines);
    window_.selector()->setValue(3);
    QCPAxis* keys = window_.chart()->plot()->xAxis;
    const QCPRange whole = window_.chart()->wholeKeyRange();
    struct Step {
        Qt::Key key;
        bool (*holds)(const QCPRange& before, const QCPRange& after);
    };
    const Step steps[] = {
        {Qt::Key_Plus, [](const QCPRange& b, const QCPRange& a) { return a.size() < b.size(); }},
        {Qt::Key_Plus, [](const QCPRange& b, const QCPRange& a) { return a.size() < b.size(); }},
        {Qt::Key_Right, [](const QCPRange& b, const QCPRange& a) { return a.lower > b.lower; }},
        {Qt::Key_Left, [](const QCPRange& b, const QCPRange& a) { return a.lower < b.lower; }},
        {Qt::Key_Minus, [](const QCPRange& b, const QCPRange& a) { return a.size() > b.size(); }},
    };
    for (const Step& step : steps) {
        const QCPRange before = keys->range();
        Press(window_.chart(), step.key);
        EXPECT_TRUE(step.holds(before, keys->range())) << step.key;
        EXPECT_EQ(window_.selector()->value(), 3) << step.key;
    }
    Press(window_.chart(), Qt::Key_Home);
    EXPECT_EQ(keys->range(), whole);
    EXPECT_EQ(window_.selector()->value(), 3);  // Home shows all rows, it does not select
    Press(window_.chart(), Qt::Key_End);
    EXPECT_EQ(window_.selector()->value(), 40);  // the selector keys still work
}

TEST_F(Keyboard, MenuItemsHaveDistinctAccessKeys) {
    const auto accessKeys = [](const QList<QAction*>& actions) {
        QStringList keys;
        for (const QAction* action : actions) {
            const qsizetype mark = action->text().indexOf(QLatin1Char('&'));
            if (!action->isSeparator()) {
                EXPECT_GE(mark, 0) << action->text().toStdString();
                keys << action->text().mid(mark + 1, 1).toLower();
            }
        }
        keys.removeDuplicates();
        return keys.size();
    };
    const QList<QAction*> tlm = action("MnuTLMFile")->menu()->actions();
    EXPECT_EQ(accessKeys(tlm), tlm.size());
    QList<QAction*> chartItems;
    for (QAction* item :
         window_.chart()->findChild<QMenu*>(QStringLiteral("chartMenu"))->actions()) {
        if (!item->isSeparator()) {
            chartItems << item;
        }
    }
    EXPECT_EQ(accessKeys(chartItems), chartItems.size());
}

TEST_F(Keyboard, AccessKeysAndF10OpenMenusAltIRunsInfoAndEscapeClosesIt) {
    QLineEdit* box = window_.box(1);
    const std::pair<QKeySequence, const char*> menus[] = {{Qt::ALT | Qt::Key_F, "MnuFile"},
                                                          {Qt::ALT | Qt::Key_T, "MnuTLMFile"},
                                                          {Qt::Key_F10, "MnuFile"}};
    for (const auto& [keys, name] : menus) {
        Press(box, keys);
        EXPECT_TRUE(action(name)->menu()->isVisible()) << keys.toString().toStdString();
        action(name)->menu()->close();
    }
    EXPECT_TRUE(box->text().isEmpty());  // no letter typed into the box

    Press(box, Qt::ALT | Qt::Key_I);
    QPointer<pelorin::Form2> info = qobject_cast<pelorin::Form2*>(QApplication::activeWindow());
    ASSERT_FALSE(info.isNull());
    QTest::keyClick(info, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(info.isNull());
}

TEST_F(Keyboard, ShortcutsRunTheirCommands) {
    window_.paste(testframes::line());
    QTimer dialogCloser;  // the commands that ask for a file get their dialog closed
    QObject::connect(&dialogCloser, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            dialog->reject();
        }
    });
    dialogCloser.start(20);
    const std::pair<const char*, QKeySequence> shortcuts[] = {
        {"MnuOpen", Qt::CTRL | Qt::Key_O},
        {"MnuFollow", Qt::CTRL | Qt::Key_L},
        {"WriteCSVFileAs", Qt::CTRL | Qt::SHIFT | Qt::Key_S},
        {"WriteCSVFile", Qt::CTRL | Qt::Key_S},
        {"MnuExit", Qt::CTRL | Qt::Key_Q}};
    for (const auto& [name, keys] : shortcuts) {
        SCOPED_TRACE(name);
        EXPECT_EQ(action(name)->shortcut().toString(), keys.toString());  // shown in the menu
        QSignalSpy triggered(action(name), &QAction::triggered);
        window_.form().setCsvFolder(QStringLiteral("/nonexistent"));  // nothing written
        activate();                                                   // again after a dialog
        Press(window_.box(2), keys);
        EXPECT_EQ(triggered.count(), 1);
    }
}

// Dark pixels in the two-pixel ring around `widget`, as its container shows it.
int RingPixels(QWidget* widget) {
    const QImage image =
        widget->parentWidget()->grab(widget->geometry().adjusted(-2, -2, 2, 2)).toImage();
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool ring = x < 2 || y < 2 || x >= image.width() - 2 || y >= image.height() - 2;
            dark += ring && image.pixelColor(x, y).lightness() < 64 ? 1 : 0;
        }
    }
    return dark;
}

TEST_F(Keyboard, ChartSelectorAndPictureShowAFrameWhileTheyHaveTheFocus) {
    window_.paste(testframes::line());
    for (QWidget* widget :
         std::vector<QWidget*>{window_.chart(), window_.selector(), window_.picture()}) {
        window_.box(1)->setFocus();
        const int without = RingPixels(widget);
        widget->setFocus();
        EXPECT_GT(RingPixels(widget), without + widget->width() + widget->height())
            << widget->objectName().toStdString();
    }
}

}  // namespace
