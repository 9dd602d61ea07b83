#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <limits>

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
    // A grip whose far corner lies beyond the coordinates' range would wrap round; no screen
    // is there.
    constexpr int kMaxCoordinate = std::numeric_limits<int>::max();
    if (framePosition.x() > kMaxCoordinate - kTitleGrip.width() ||
        framePosition.y() > kMaxCoordinate - kTitleGrip.height()) {
        return false;
    }
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
