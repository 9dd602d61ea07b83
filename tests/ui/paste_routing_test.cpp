// Lines pasted or dropped outside the paste box go into it, as if pasted there.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>

#include "window_driver.h"

namespace {

class PasteRouting : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.form().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_.form()));
    }
    // The paste box holds `text` with its cursor at `position`.
    void prepareBox(const QString& text, int position) {
        window_.pasteBox()->setPlainText(text);
        QTextCursor cursor = window_.pasteBox()->textCursor();
        cursor.setPosition(position);
        window_.pasteBox()->setTextCursor(cursor);
        WindowDriver::Settle();
    }

    WindowDriver window_;
};

TEST_F(PasteRouting, LinesPastedIntoAValueBoxOrText3GoToThePasteBoxAtItsCursor) {
    const QString lines = QString::fromStdString(testframes::lineWithTime(1) + "\r\n" +
                                                 testframes::lineWithTime(2) + "\n");
    QApplication::clipboard()->setText(lines);
    const QKeySequence pastes[] = {QKeySequence(Qt::CTRL | Qt::Key_V),
                                   QKeySequence(Qt::SHIFT | Qt::Key_Insert)};
    for (QLineEdit* box : {window_.box(0), window_.box(19), window_.lengthBox()}) {
        for (const QKeySequence& paste : pastes) {
            SCOPED_TRACE(box->objectName().toStdString() + " " + paste.toString().toStdString());
            prepareBox(QStringLiteral("beacon\nend"), 7);
            QSignalSpy changes(window_.pasteBox(), &QPlainTextEdit::textChanged);
            box->setFocus();
            QTest::keySequence(box, paste);
            WindowDriver::Settle();
            EXPECT_FALSE(box->text().contains(lines.left(20)));
            EXPECT_EQ(window_.pasteBox()->toPlainText(),
                      QStringLiteral("beacon\n") + QString(lines).remove(QLatin1Char('\r')) +
                          QStringLiteral("end"));
            EXPECT_EQ(changes.count(), 1);  // decoded once
            EXPECT_EQ(window_.chart()->rowCount(), 2);
            window_.pasteBox()->undo();
            EXPECT_EQ(window_.pasteBox()->toPlainText(), QStringLiteral("beacon\nend"));
        }
    }
}

TEST_F(PasteRouting, ASingleLineStaysInTheValueBox) {
    prepareBox(QStringLiteral("beacon"), 0);
    QApplication::clipboard()->setText(QStringLiteral("12.5"));
    QLineEdit* box = window_.box(5);
    box->clear();
    box->setFocus();
    QTest::keySequence(box, QKeySequence(Qt::CTRL | Qt::Key_V));
    EXPECT_EQ(box->text(), QStringLiteral("12.5"));
    EXPECT_EQ(window_.pasteBox()->toPlainText(), QStringLiteral("beacon"));
}

TEST_F(PasteRouting, LinesDroppedOnTheWindowGoToThePasteBox) {
    prepareBox(QStringLiteral("beacon\n"), 7);
    QMimeData mime;
    mime.setText(QString::fromStdString(testframes::line() + "\n" + testframes::line()));
    QWidget* target = window_.box(3);
    const QPoint at = target->mapTo(&window_.form(), QPoint(5, 5));
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window_.form(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window_.form(), &drop);
    WindowDriver::Settle();
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(window_.pasteBox()->toPlainText(), QStringLiteral("beacon\n") + mime.text());
    EXPECT_EQ(window_.chart()->rowCount(), 2);
}

TEST_F(PasteRouting, PasteFromAValueBoxContextMenuToo) {
    prepareBox(QString(), 0);
    const QString line = QString::fromStdString(testframes::line() + "\n");
    QApplication::clipboard()->setText(line);
    QLineEdit* box = window_.box(7);
    box->setFocus();
    QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(3, 3),
                                box->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(box, &menuEvent);
    WindowDriver::Settle();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* paste = nullptr;
    for (QAction* action : menu->actions()) {
        paste = action->text().startsWith(QStringLiteral("&Paste")) ? action : paste;
    }
    ASSERT_NE(paste, nullptr);
    paste->trigger();
    menu->close();
    WindowDriver::Settle();
    EXPECT_FALSE(box->text().contains(line.left(20)));
    EXPECT_EQ(window_.pasteBox()->toPlainText(), line);
}

}  // namespace
