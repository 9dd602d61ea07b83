// The main window's History window: File > History... over the archive the window keeps.
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "Form1.h"
#include "LogFollowSession.h"
#include "history/HistoryWindow.h"
#include "pelorin/archive_location.h"

namespace pelorin {

void Form1::MnuHistory_Click() {
    if (history_.isNull()) {
        history_ = new HistoryWindow(QString::fromStdString(ArchiveLocation(std::nullopt)), this);
        history_->setAttribute(Qt::WA_DeleteOnClose);
        connect(history_, &HistoryWindow::openInMainWindow, this, &Form1::openInBox);
        history_->setLimits(limits());
        history_->setDecimalSeparator(decimalSeparator_);
        placeBeside(*history_);
    }
    history_->show();
    history_->raise();
    history_->activateWindow();
}

void Form1::openInBox(const QString& lines) {
    if (follow_->following() &&
        QMessageBox::question(this, tr("Open in Main Window"),
                              tr("The paste box follows a log. Stop following it and open the "
                                 "pass instead?")) != QMessageBox::Yes) {
        return;
    }
    QTextCursor cursor(Text2->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(lines);
    cursor.endEditBlock();
    raise();
    activateWindow();
}

}  // namespace pelorin
