#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>

class QMainWindow;
class QScrollArea;
class QWidget;

namespace pelorin {

// Keeps the resizable main window inside its screen's available area. On the first show a
// window that was not given a size takes the area, up to a comfortable largest size; one larger
// than the area shrinks to it and one reaching beyond it moves in. It fits again whenever it
// moves to another screen. Where even the client's smallest size does not fit, the client
// scrolls; a control that gets the focus is then scrolled into view.
class ScreenFit : public QObject {
    Q_OBJECT
  public:
    // `clientArea` holds the client as its widget; both are owned by `window`.
    ScreenFit(QMainWindow& window, QScrollArea& clientArea);

    // The largest size a window takes by itself on the first show (device-independent pixels).
    static constexpr QSize kLargestStartSize{1600, 1000};

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fit(bool firstShow);
    // What the window manager adds around the window: its frame where it is known yet, else
    // an allowance for a title bar and borders.
    QMargins decorations() const;
    void showFocused(QWidget* focused);

    QMainWindow& window_;
    QScrollArea& clientArea_;
    bool watchingScreen_ = false;
};

}  // namespace pelorin
