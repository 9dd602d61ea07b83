#pragma once

#include <QObject>

#include "ChartOptions.h"

class QAction;
class QActionGroup;
class QMenu;
class QPoint;

namespace pelorin {

class TrendChart;

// The chart's context menu: the choice of time axis, value axis and the four-statistics view,
// and saving or copying the picture. Opened by a right click, the Menu key or Shift+F10.
class ChartMenu : public QObject {
    Q_OBJECT
  public:
    // Works on `chart` and is owned by it.
    explicit ChartMenu(TrendChart& chart);

    void popup(const QPoint& globalPos);
    QMenu* menu() const { return menu_; }

  protected:
    // The chart's context menu events, the Menu key and Shift+F10.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPoint keyboardMenuPos() const;
    QAction* addChoice(const char* name, const char* text, QActionGroup* group);
    void showOptions(const ChartOptions& options);
    void chooseFromActions();
    void saveWithDialog();

    TrendChart& chart_;
    QMenu* menu_ = nullptr;
    QAction* recordNumber_ = nullptr;
    QAction* onBoardTime_ = nullptr;
    QAction* fitToValues_ = nullptr;
    QAction* startAtZero_ = nullptr;
    QAction* statistics_ = nullptr;
};

}  // namespace pelorin
