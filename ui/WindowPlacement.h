#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>

class QWidget;

namespace pelorin {

// Puts a window where it was at the end of the last run, when a screen still shows that place,
// else leaves the placing to the system; keeps its position when it closes. The size is the
// layout's own and is not kept.
class WindowPlacement : public QObject {
    Q_OBJECT
  public:
    // Owned by `window`; moves it at once, so it is to be made before the window is shown.
    explicit WindowPlacement(QWidget& window);

    // Whether a frame placed at `framePosition` (pixels of the virtual desktop) can be seen
    // and dragged on `screenAreas`: the start of its title bar lies on them, across the seam
    // of two screens included.
    static bool IsShownOn(const QPoint& framePosition, const QList<QRect>& screenAreas);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
};

}  // namespace pelorin
