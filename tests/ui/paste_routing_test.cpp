// Lines pasted or dropped outside the paste box go into it, as if pasted there.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include "window_driver.h"

namespace {

// The paste box holding "beacon\nend" with its cursor before "end".
void PrepareBox(WindowDriver& window) {
    window.pasteBox()->setPlainText(QStringLiteral("beacon\nend"));
    QTextCursor cursor = window.pasteBox()->textCursor();
    cursor.setPosition(7);
    window.pasteBox()->setTextCursor(cursor);
}

// Pastes by the box's context menu.
void PasteByMenu(QLineEdit* box) {
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(3, 3),
                              box->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(box, &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(QStringLiteral("&Paste"))) {
            action->trigger();
        }
    }
    menu->close();
}

TEST(PasteRouting, LinesPastedIntoAOneLineBoxGoToThePasteBoxAtItsCursorAsOnePaste) {
    WindowDriver window;
    window.form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window.form()));
    const QString lines = QString::fromStdString(testframes::lineWithTime(1) + "\r\n" +
                                                 testframes::lineWithTime(2) + "\n");
    QApplication::clipboard()->setText(lines);
    const std::function<void(QLineEdit*)> pastes[] = {
        [](QLineEdit* box) { QTest::keySequence(box, QKeySequence(Qt::CTRL | Qt::Key_V)); },
        [](QLineEdit* box) { QTest::keySequence(box, QKeySequence(Qt::SHIFT | Qt::Key_Insert)); },
        PasteByMenu};
    for (QLineEdit* box : {window.box(0), window.box(19), window.lengthBox()}) {
        for (const auto& paste : pastes) {
            SCOPED_TRACE(box->objectName().toStdString());
            PrepareBox(window);
            QSignalSpy changes(window.pasteBox(), &QPlainTextEdit::textChanged);
            box->setFocus();
            paste(box);
            WindowDriver::Settle();
            EXPECT_FALSE(box->text().contains(lines.left(20)));
            EXPECT_EQ(window.pasteBox()->toPlainText(),
                      "beacon\n" + QString(lines).remove(QLatin1Char('\r')) + "end");
            EXPECT_EQ(changes.count(), 1);  // decoded once
            EXPECT_EQ(window.chart()->rowCount(), 2);
            window.pasteBox()->undo();
            EXPECT_EQ(window.pasteBox()->toPlainText(), QStringLiteral("beacon\nend"));
        }
    }
    // A single line stays in the box.
    QApplication::clipboard()->setText(QStringLiteral("12.5"));
    window.box(5)->clear();
    window.box(5)->setFocus();
    QTest::keySequence(window.box(5), QKeySequence(Qt::CTRL | Qt::Key_V));
    EXPECT_EQ(window.box(5)->text(), QStringLiteral("12.5"));
    EXPECT_EQ(window.pasteBox()->toPlainText(), QStringLiteral("beacon\nend"));
}

TEST(PasteRouting, LinesDroppedOnTheWindowGoToThePasteBox) {
    WindowDriver window;
    PrepareBox(window);
    QMimeData mime;
    mime.setText(QString::fromStdString(testframes::line() + "\n" + testframes::line() + "\n"));
    const QPoint at = window.box(3)->mapTo(&window.form(), QPoint(5, 5));
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window.form(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window.form(), &drop);
    WindowDriver::Settle();
    EXPECT_EQ(window.pasteBox()->toPlainText(), "beacon\n" + mime.text() + "end");
    EXPECT_EQ(window.chart()->rowCount(), 2);
}

}  // namespace
