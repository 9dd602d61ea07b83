#include "ScreenFit.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QWindow>

namespace pelorin {
namespace {

// A title bar and thin borders, for window managers that have not told their frame yet.
constexpr QMargins kDecorationAllowance(4, 36, 4, 4);
// The smallest client view the user can shrink a scrolling window to.
constexpr QSize kSmallestClientView(240, 160);
constexpr int kMaxWidgetSize = QWIDGETSIZE_MAX;

}  // namespace

ScreenFit::ScreenFit(QMainWindow& window, QScrollArea& clientArea)
    : QObject(&window), window_(window), clientArea_(clientArea) {
    window_.installEventFilter(this);
    keepDesignedSize();
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

QSize ScreenFit::designedSize() const {
    const QSize client = clientArea_.widget()->size();
    return {client.width(), window_.menuBar()->sizeHint().height() + client.height() +
                                window_.statusBar()->sizeHint().height()};
}

QMargins ScreenFit::decorations() const {
    const QWindow* handle = window_.windowHandle();
    const QMargins frame = handle != nullptr ? handle->frameMargins() : QMargins();
    return frame.isNull() ? kDecorationAllowance : frame;
}

void ScreenFit::fit(bool place) {
    const QScreen* screen = window_.screen();
    if (screen == nullptr) {
        return;
    }
    const QSize room = screen->availableGeometry().marginsRemoved(decorations()).size();
    const QSize designed = designedSize();
    if (designed.width() <= room.width() && designed.height() <= room.height()) {
        keepDesignedSize();
    } else {
        scrollWithin(designed, room);
        if (place) {
            window_.move(screen->availableGeometry().topLeft());
        }
    }
}

void ScreenFit::keepDesignedSize() {
    clientArea_.setMinimumSize(clientArea_.widget()->size());
    window_.setMaximumSize(kMaxWidgetSize, kMaxWidgetSize);
    window_.layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void ScreenFit::scrollWithin(const QSize& designed, const QSize& room) {
    // A scroll bar takes room from the view across it, which can call for the other bar too.
    const int bar = clientArea_.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QSize largest = designed;
    bool vertical = false;
    bool horizontal = false;
    for (int pass = 0; pass < 2; ++pass) {
        if (!vertical && largest.height() > room.height()) {
            vertical = true;
            largest.rwidth() += bar;
        }
        if (!horizontal && largest.width() > room.width()) {
            horizontal = true;
            largest.rheight() += bar;
        }
    }
    window_.layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    clientArea_.setMinimumSize(kSmallestClientView);
    window_.setMinimumSize(0, 0);  // the layout's minimum from now on
    window_.setMaximumSize(largest);
    window_.resize(largest.boundedTo(room));
}

}  // namespace pelorin
