#include "PasteRouter.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>

#include "paste/PasteBox.h"

namespace pelorin {

PasteRouter::PasteRouter(QMainWindow& window, PasteBox& pasteBox)
    : QObject(&window), pasteBox_(pasteBox) {
    for (QLineEdit* box : window.centralWidget()->findChildren<QLineEdit*>()) {
        box->installEventFilter(this);
    }
}

bool PasteRouter::eventFilter(QObject* watched, QEvent* event) {
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

bool PasteRouter::routeClipboard(QClipboard::Mode mode) {
    const QString text = QApplication::clipboard()->text(mode);
    if (!PasteBox::HoldsLines(text)) {
        return false;
    }
    pasteBox_.paste(text);
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

}  // namespace pelorin
