#pragma once

#include <QObject>

class QMainWindow;
class QSplitter;

namespace pelorin {

// Keeps the main window's size, place, maximised state and splitter between runs, through Qt's
// own saveGeometry()/restoreGeometry(), which allow for the window's frame and bring a window
// kept on a screen gone since back onto one, its title bar in sight.
class WindowGeometry : public QObject {
    Q_OBJECT
  public:
    // Owned by `window`; restores at once, so it is to be made before the window is shown.
    WindowGeometry(QMainWindow& window, QSplitter& splitter);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QMainWindow& window_;
    QSplitter& splitter_;
};

}  // namespace pelorin
