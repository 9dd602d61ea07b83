#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>

class QMainWindow;
class QScrollArea;

namespace pelorin {

// Keeps the main window inside its screen's available area. Where the designed window (menu
// bar, the whole client area, status bar) fits, the window keeps that fixed size. Where it does
// not, the window is as large as the area allows and its client area scrolls, the layout
// unchanged; it can then be resized up to the designed size. Fits on the first show, where a
// window too large opens at the area's top left corner, and again whenever the window moves to
// another screen.
class ScreenFit : public QObject {
    Q_OBJECT
  public:
    // `clientArea` holds the fixed client as its widget; both are owned by `window`.
    ScreenFit(QMainWindow& window, QScrollArea& clientArea);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // `place`: also move the window into the area when it does not fit.
    void fit(bool place);
    QSize designedSize() const;
    // What the window manager adds around the window: its frame where it is known yet, else
    // an allowance for a title bar and borders.
    QMargins decorations() const;
    void keepDesignedSize();
    void scrollWithin(const QSize& designed, const QSize& room);

    QMainWindow& window_;
    QScrollArea& clientArea_;
    bool watchingScreen_ = false;
};

}  // namespace pelorin
