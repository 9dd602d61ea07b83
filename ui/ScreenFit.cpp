#include "ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QWindow>
#include <algorithm>

namespace pelorin {
namespace {

// A title bar and thin borders, for window managers that have not told their frame yet.
constexpr QMargins kDecorationAllowance(4, 36, 4, 4);

}  // namespace

ScreenFit::ScreenFit(QMainWindow& window, QScrollArea& clientArea)
    : QObject(&window), window_(window), clientArea_(clientArea) {
    window_.installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { showFocused(now); });
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Show && !watchingScreen_) {
        // The platform window exists from the first show on.
        watchingScreen_ = true;
        connect(window_.windowHandle(), &QWindow::screenChanged, this, [this] { fit(false); });
        fit(true);
    }
    return QObject::eventFilter(watched, event);
}

QMargins ScreenFit::decorations() const {
    const QWindow* handle = window_.windowHandle();
    const QMargins frame = handle != nullptr ? handle->frameMargins() : QMargins();
    return frame.isNull() ? kDecorationAllowance : frame;
}

void ScreenFit::fit(bool firstShow) {
    const QScreen* screen = window_.screen();
    if (screen == nullptr ||
        (window_.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QMargins frame = decorations();
    const QSize room = area.marginsRemoved(frame).size();
    // A size the user or the kept geometry gave stays, as far as the screen allows.
    const bool sized = window_.testAttribute(Qt::WA_Resized);
    const QSize wanted = firstShow && !sized ? kLargestStartSize : window_.size();
    const QSize size = wanted.boundedTo(room).expandedTo(window_.minimumSize());
    if (size != window_.size()) {
        window_.resize(size);
    }
    // Until the window manager has framed the window, its position is that of its client area.
    const bool framed = !window_.windowHandle()->frameMargins().isNull();
    const QRect outer = framed ? QRect(window_.pos(), size.grownBy(frame))
                               : QRect(window_.pos(), size).marginsAdded(frame);
    // A window nobody placed is left to the window manager.
    if (window_.testAttribute(Qt::WA_Moved) && !area.contains(outer)) {
        // Into the area, its top left corner (with the title bar) first.
        const QPoint corner(
            std::max(area.left(), std::min(outer.left(), area.right() + 1 - outer.width())),
            std::max(area.top(), std::min(outer.top(), area.bottom() + 1 - outer.height())));
        window_.move(framed ? corner : corner + QPoint(frame.left(), frame.top()));
    }
}

void ScreenFit::showFocused(QWidget* focused) {
    if (focused != nullptr && clientArea_.widget()->isAncestorOf(focused)) {
        clientArea_.ensureWidgetVisible(focused);
    }
}

}  // namespace pelorin
