#pragma once

#include <QObject>
#include <QPointer>
#include <initializer_list>

class QFocusFrame;
class QWidget;

namespace pelorin {

// A frame around whichever of some controls has the keyboard focus, for controls whose own
// drawing does not show it (the chart, the selector, the picture).
class FocusFrames : public QObject {
    Q_OBJECT
  public:
    // Watches `widgets`; owned by `parent`.
    FocusFrames(std::initializer_list<QWidget*> widgets, QObject* parent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QFocusFrame> frame_;
};

}  // namespace pelorin
