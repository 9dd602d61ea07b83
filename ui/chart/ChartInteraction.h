#pragma once

#include <QObject>
#include <QPoint>

class QCPRange;
class QMouseEvent;

namespace pelorin {

class TrendChart;

// What the user does with the trend chart's plot by mouse: the hover text of a bar or a segment
// marker (at once on a mouse move, and on Qt's own tool tip request), barClicked() on a click
// without dragging, and zoom and drag kept inside the rows.
class ChartInteraction : public QObject {
    Q_OBJECT
  public:
    // Works on `chart`'s plot and is owned by `chart`.
    explicit ChartInteraction(TrendChart& chart);

  signals:
    void barClicked(int row);  // 1-based row of the clicked bar

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onMouseMove(QMouseEvent* event);
    void onMousePress(QMouseEvent* event);
    void onMouseRelease(QMouseEvent* event);
    void onKeyRangeChanged(const QCPRange& range);
    // The hover text at `pos` (plot coordinates): a segment marker's, a bar's, or "".
    QString toolTipAt(const QPoint& pos) const;

    TrendChart& chart_;
    bool clampingRange_ = false;
    QPoint pressPos_;
    bool pressed_ = false;
};

}  // namespace pelorin
