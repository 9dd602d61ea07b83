#include "DropRouter.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>

#include "paste/PasteBox.h"

namespace pelorin {

DropRouter::DropRouter(QMainWindow& window, PasteBox& pasteBox)
    : QObject(&window), window_(window), pasteBox_(pasteBox) {
    QPlainTextEdit& box = pasteBox_.box();
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    for (QWidget* widget : window.centralWidget()->findChildren<QWidget*>()) {
        if (widget != &box && !box.isAncestorOf(widget)) {
            widget->installEventFilter(this);
        }
    }
    for (QLineEdit* oneLine : window.centralWidget()->findChildren<QLineEdit*>()) {
        oneLine->setAcceptDrops(false);
    }
    box.viewport()->installEventFilter(this);
}

DropRouter::Content DropRouter::Read(const QMimeData* mime) {
    if (mime == nullptr) {
        return {};
    }
    if (mime->hasUrls()) {
        const QList<QUrl> urls = mime->urls();
        const bool local = !urls.isEmpty() && urls.constFirst().isLocalFile();
        return {local ? urls.constFirst().toLocalFile() : QString(), QString()};
    }
    if (mime->hasText() && PasteBox::HoldsLines(mime->text())) {
        return {QString(), mime->text()};
    }
    return {};
}

bool DropRouter::takes(const QObject* watched, const Content& content) const {
    return !content.file.isEmpty() || (watched == &window_ && !content.lines.isEmpty());
}

bool DropRouter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (takes(watched, Read(drag->mimeData()))) {
                drag->acceptProposedAction();
                return true;
            }
            break;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const Content content = Read(drop->mimeData());
            if (!takes(watched, content)) {
                break;
            }
            drop->acceptProposedAction();
            if (!content.file.isEmpty()) {
                emit fileDropped(content.file);
            } else {
                pasteBox_.paste(content.lines);
            }
            return true;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pelorin
