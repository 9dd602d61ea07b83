#include "InputRouter.h"

#include <QApplication>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QUrl>

#include "chart/ChartKeys.h"
#include "chart/TrendChart.h"

namespace pelorin {

InputRouter::InputRouter(QMainWindow& window, QPlainTextEdit& pasteBox, QScrollBar& selector)
    : QObject(&window), pasteBox_(pasteBox), selector_(selector) {
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    for (QWidget* widget : window.centralWidget()->findChildren<QWidget*>()) {
        if (widget != &pasteBox_ && !pasteBox_.isAncestorOf(widget)) {
            widget->installEventFilter(this);
        }
    }
    // The boxes would take a dropped file's name as text; the file goes to the window instead.
    for (QLineEdit* box : window.centralWidget()->findChildren<QLineEdit*>()) {
        box->setAcceptDrops(false);
    }
    pasteBox_.viewport()->installEventFilter(this);
}

QString InputRouter::FileFromDrop(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls() || mime->urls().isEmpty()) {
        return {};
    }
    const QUrl url = mime->urls().constFirst();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

bool InputRouter::KeepsKey(const QWidget* widget, int key) {
    const bool textBox = qobject_cast<const QLineEdit*>(widget) != nullptr ||
                         qobject_cast<const QPlainTextEdit*>(widget) != nullptr;
    const bool chartKey =
        qobject_cast<const TrendChart*>(widget) != nullptr && ChartKeys::Uses(key);
    return textBox || chartKey;
}

bool InputRouter::stepSelector(int key) {
    if (!selector_.isEnabled()) {
        return false;
    }
    switch (key) {
        case Qt::Key_PageUp:
            selector_.setValue(selector_.value() - selector_.pageStep());
            return true;
        case Qt::Key_PageDown:
            selector_.setValue(selector_.value() + selector_.pageStep());
            return true;
        case Qt::Key_Home:
            selector_.setValue(selector_.minimum());
            return true;
        case Qt::Key_End:
            selector_.setValue(selector_.maximum());
            return true;
        default:
            return false;
    }
}

// The window itself sees the keys that no control used, and the drags and drops that reach it
// from controls that take none.
bool InputRouter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
            if (plain && !KeepsKey(QApplication::focusWidget(), key->key()) &&
                stepSelector(key->key())) {
                return true;
            }
            break;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!FileFromDrop(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
            break;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString path = FileFromDrop(drop->mimeData());
            if (!path.isEmpty()) {
                drop->acceptProposedAction();
                emit fileDropped(path);
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pelorin
