#pragma once

#include <QObject>

namespace pelorin {

class TrendChart;

// The trend chart from the keyboard while it has the focus: + and - zoom the time axis about
// the middle of the view, Left and Right pan it by a quarter of the view, Home shows all rows
// again. Zoom and pan stay inside the rows as with the mouse.
class ChartKeys : public QObject {
    Q_OBJECT
  public:
    // Owned by `chart`.
    explicit ChartKeys(TrendChart& chart);

    // The keys it uses, for the window's own key routing to leave them alone.
    static bool Uses(int key);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool handle(int key);

    TrendChart& chart_;
};

}  // namespace pelorin
