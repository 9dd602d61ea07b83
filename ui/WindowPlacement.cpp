#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QWidget>

#include "WindowSettings.h"

namespace pelorin {
namespace {

// The part of the title bar that must be on a screen for the window to be dragged (pixels).
const QSize kTitleGrip(120, 24);

QList<QRect> AvailableScreenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        areas.append(screen->availableGeometry());
    }
    return areas;
}

}  // namespace

WindowPlacement::WindowPlacement(QWidget& window) : QObject(&window), window_(window) {
    const std::optional<QPoint> kept = WindowSettings::position();
    if (kept && IsShownOn(*kept, AvailableScreenAreas())) {
        window.move(*kept);
    }
    window.installEventFilter(this);
}

bool WindowPlacement::IsShownOn(const QPoint& framePosition, const QList<QRect>& screenAreas) {
    QRegion hidden(QRect(framePosition, kTitleGrip));
    for (const QRect& area : screenAreas) {
        hidden -= area;
    }
    return hidden.isEmpty();
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Close) {
        WindowSettings::setPosition(window_.pos());
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pelorin
