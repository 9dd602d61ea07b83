#include "InputRouter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "chart/ChartKeys.h"
#include "chart/TrendChart.h"

namespace pelorin {

InputRouter::InputRouter(QMainWindow& window, QPlainTextEdit& pasteBox, QScrollBar& selector)
    : QObject(&window), pasteBox_(pasteBox), selector_(selector) {
    window.installEventFilter(this);
    for (QWidget* widget : window.centralWidget()->findChildren<QWidget*>()) {
        if (widget != &pasteBox_ && !pasteBox_.isAncestorOf(widget)) {
            widget->installEventFilter(this);
        }
    }
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

// The window itself sees the keys that no control used.
bool InputRouter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && !KeepsKey(QApplication::focusWidget(), key->key()) &&
            stepSelector(key->key())) {
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pelorin
