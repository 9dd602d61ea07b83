// The window from the keyboard: the selector keys, the menus' access keys and shortcuts, F10,
// Escape in the info window and the focus frames.
#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "Form2.h"
#include "window_driver.h"

namespace {

class Keyboard : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.form().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_.form()));
    }
    // Types `key` into the widget that has the focus, as the keyboard does.
    static void Type(QWidget* focus, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        focus->setFocus();
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
        WindowDriver::Settle();
    }
    QAction* action(const char* name) const {
        return window_.find<QAction>(QString::fromLatin1(name));
    }
    static pelorin::Form2* InfoWindow() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* info = qobject_cast<pelorin::Form2*>(widget); info && info->isVisible()) {
                return info;
            }
        }
        return nullptr;
    }

    WindowDriver window_;
};

TEST_F(Keyboard, SelectorKeysStepTheRecordsOnlyWhenNoTextBoxHasTheFocus) {
    std::vector<std::string> lines;
    for (unsigned k = 1; k <= 6; ++k) {
        lines.push_back(testframes::lineWithTime(k));
    }
    window_.pasteLines(lines);
    QScrollBar* selector = window_.selector();
    for (QWidget* holder :
         std::vector<QWidget*>{window_.option(12), window_.chart(), window_.picture()}) {
        SCOPED_TRACE(holder->objectName().toStdString());
        selector->setValue(1);
        Type(holder, Qt::Key_PageDown);
        EXPECT_EQ(selector->value(), 2);
        Type(holder, Qt::Key_End);
        EXPECT_EQ(selector->value(), 6);
        EXPECT_EQ(window_.box(0)->text(), QStringLiteral("6 => 0d 00:00:06"));
        Type(holder, Qt::Key_PageUp);
        EXPECT_EQ(selector->value(), 5);
        Type(holder, Qt::Key_Home);
        EXPECT_EQ(selector->value(), 1);
    }
    // Text boxes keep the keys: Home and End move their cursor.
    for (QWidget* box : std::vector<QWidget*>{window_.box(3), window_.box(0), window_.lengthBox(),
                                              window_.pasteBox()}) {
        SCOPED_TRACE(box->objectName().toStdString());
        selector->setValue(3);
        for (const int key : {Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home}) {
            Type(box, key);
        }
        EXPECT_EQ(selector->value(), 3);
    }
    QLineEdit* box = window_.box(0);
    Type(box, Qt::Key_End);
    EXPECT_EQ(box->cursorPosition(), box->text().size());
    Type(box, Qt::Key_Home);
    EXPECT_EQ(box->cursorPosition(), 0);
}

TEST_F(Keyboard, AccessKeysOpenTheMenusAndRunInfo) {
    QLineEdit* box = window_.box(1);
    const std::pair<Qt::Key, const char*> menus[] = {{Qt::Key_F, "MnuFile"},
                                                     {Qt::Key_T, "MnuTLMFile"}};
    for (const auto& [key, name] : menus) {
        SCOPED_TRACE(name);
        Type(box, key, Qt::AltModifier);
        QMenu* menu = action(name)->menu();
        EXPECT_TRUE(menu->isVisible());
        menu->close();
    }
    Type(box, Qt::Key_F10);
    EXPECT_TRUE(action("MnuFile")->menu()->isVisible());
    action("MnuFile")->menu()->close();
    EXPECT_TRUE(box->text().isEmpty());

    Type(box, Qt::Key_I, Qt::AltModifier);
    pelorin::Form2* info = InfoWindow();
    ASSERT_NE(info, nullptr);
    info->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(info));
    QTest::keyClick(info, Qt::Key_Escape);
    WindowDriver::Settle();
    EXPECT_EQ(InfoWindow(), nullptr);
}

TEST_F(Keyboard, ShortcutsRunTheirCommandsAndShowInTheMenus) {
    QTemporaryDir dir;
    window_.form().setCsvFolder(dir.path());
    window_.paste(testframes::line());
    struct Shortcut {
        const char* action;
        QKeySequence keys;
    };
    const Shortcut shortcuts[] = {
        {"MnuOpen", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"WriteCSVFile", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"WriteCSVFileAs", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"MnuExit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
    for (const Shortcut& s : shortcuts) {
        SCOPED_TRACE(s.action);
        EXPECT_EQ(action(s.action)->shortcut().toString(),
                  s.keys.toString());  // a menu shows its actions' shortcuts
        QSignalSpy triggered(action(s.action), &QAction::triggered);
        // The commands that ask for a file get their dialog closed unanswered.
        QTimer dialogCloser;
        QObject::connect(&dialogCloser, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                dialog->reject();
            }
        });
        dialogCloser.start(20);
        window_.form().activateWindow();  // again after a dialog
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_.form()));
        QTest::keySequence(window_.box(2), s.keys);
        WindowDriver::Settle();
        EXPECT_EQ(triggered.count(), 1);
    }
    EXPECT_TRUE(QDir(dir.path()).exists(QStringLiteral("pelorin_telemetry.csv")));
    EXPECT_FALSE(window_.form().isVisible());  // Ctrl+Q closed it
}

// Black pixels in the two-pixel ring around `widget`, as its container shows it.
int RingPixels(QWidget* widget) {
    const QRect ring = widget->geometry().adjusted(-2, -2, 2, 2);
    const QImage image = widget->parentWidget()->grab(ring).toImage();
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inRing = x < 2 || y < 2 || x >= image.width() - 2 || y >= image.height() - 2;
            dark += inRing && image.pixelColor(x, y).lightness() < 64 ? 1 : 0;
        }
    }
    return dark;
}

TEST_F(Keyboard, ChartSelectorAndPictureShowAFrameWhileTheyHaveTheFocus) {
    window_.paste(testframes::line());
    for (QWidget* widget :
         {static_cast<QWidget*>(window_.chart()), static_cast<QWidget*>(window_.selector()),
          static_cast<QWidget*>(window_.picture())}) {
        SCOPED_TRACE(widget->objectName().toStdString());
        window_.box(1)->setFocus();
        WindowDriver::Settle();
        const int without = RingPixels(widget);
        widget->setFocus();
        WindowDriver::Settle();
        const int perimeter = 2 * (widget->width() + widget->height());
        EXPECT_GT(RingPixels(widget), without + perimeter / 2);
    }
}

}  // namespace
