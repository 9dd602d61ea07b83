#include "FocusFrames.h"

#include <QEvent>
#include <QFocusFrame>

namespace pelorin {

FocusFrames::FocusFrames(std::initializer_list<QWidget*> widgets, QObject* parent)
    : QObject(parent) {
    for (QWidget* widget : widgets) {
        widget->installEventFilter(this);
    }
}

bool FocusFrames::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::FocusIn) {
        if (!frame_) {
            frame_ = new QFocusFrame(widget);  // it moves into the widget's container
        }
        frame_->setWidget(widget);
    } else if (event->type() == QEvent::FocusOut && frame_ && frame_->widget() == widget) {
        frame_->setWidget(nullptr);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pelorin
