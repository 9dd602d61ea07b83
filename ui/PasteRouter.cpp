#include "PasteRouter.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace pelorin {

PasteRouter::PasteRouter(QMainWindow& window, QPlainTextEdit& pasteBox)
    : QObject(&window), window_(window), pasteBox_(pasteBox) {
    window.installEventFilter(this);
    for (QLineEdit* box : window.centralWidget()->findChildren<QLineEdit*>()) {
        box->installEventFilter(this);
    }
}

bool PasteRouter::HoldsLines(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

QString PasteRouter::DroppedLines(const QMimeData* mime) {
    if (mime == nullptr || mime->hasUrls() || !mime->hasText() || !HoldsLines(mime->text())) {
        return {};
    }
    return mime->text();
}

bool PasteRouter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        return filterWindowEvent(event) || QObject::eventFilter(watched, event);
    }
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box != nullptr && !box->isReadOnly() && filterBoxEvent(*box, event)) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool PasteRouter::filterBoxEvent(QLineEdit& box, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            return static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) &&
                   routeClipboard(QClipboard::Clipboard);
        case QEvent::MouseButtonRelease:
            // The X11 selection, pasted by the middle button.
            return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
                   QApplication::clipboard()->supportsSelection() &&
                   routeClipboard(QClipboard::Selection);
        case QEvent::ContextMenu:
            showContextMenu(box, *static_cast<QContextMenuEvent*>(event));
            return true;
        default:
            return false;
    }
}

// Drops reach the window from every control that takes none: the boxes take none.
bool PasteRouter::filterWindowEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (DroppedLines(drag->mimeData()).isEmpty()) {
                return false;
            }
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString lines = DroppedLines(drop->mimeData());
            if (lines.isEmpty()) {
                return false;
            }
            drop->acceptProposedAction();
            insertIntoPasteBox(lines);
            return true;
        }
        default:
            return false;
    }
}

bool PasteRouter::routeClipboard(QClipboard::Mode mode) {
    const QString text = QApplication::clipboard()->text(mode);
    if (!HoldsLines(text)) {
        return false;
    }
    insertIntoPasteBox(text);
    return true;
}

QAction* PasteRouter::PasteEntry(const QMenu& menu) {
    // Named by its caption, as the box translates it, with or without the shortcut after a tab.
    const QString caption = QLineEdit::tr("&Paste");
    for (QAction* action : menu.actions()) {
        if (action->text() == caption || action->text().startsWith(caption + QLatin1Char('\t'))) {
            return action;
        }
    }
    return nullptr;
}

// The box's own menu, whose Paste takes the same road as Ctrl+V.
void PasteRouter::showContextMenu(QLineEdit& box, const QContextMenuEvent& event) {
    QMenu* menu = box.createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (QAction* paste = PasteEntry(*menu)) {
        paste->disconnect(&box);
        connect(paste, &QAction::triggered, &box, [this, &box] {
            if (!routeClipboard(QClipboard::Clipboard)) {
                box.paste();
            }
        });
    }
    menu->popup(event.globalPos());
}

void PasteRouter::insertIntoPasteBox(const QString& text) {
    // One insertion is one edit: one change notification, one step to undo. CR LF, LF and CR
    // all end a line of the box.
    QTextCursor cursor = pasteBox_.textCursor();
    cursor.insertText(text);
    pasteBox_.setTextCursor(cursor);
    pasteBox_.ensureCursorVisible();
}

}  // namespace pelorin
