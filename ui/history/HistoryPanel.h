#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "history/Decimation.h"
#include "history/HistoryRange.h"
#include "pelorin/limits.h"

class QComboBox;
class QCustomPlot;
class QCPGraph;
class QCPItemRect;
class QCPItemStraightLine;
class QLabel;
class QMouseEvent;
class QRubberBand;

namespace pelorin {

struct HistorySnapshot;
class RangeFill;

// One of the History window's stacked panels: a quantity chooser over a chart of that quantity
// against the shared time axis. The wheel, a drag and a double click on the chart ask the window
// to zoom, pan or show everything, so that all panels move together.
class HistoryPanel : public QWidget {
    Q_OBJECT
  public:
    // `number` from 1 names its controls.
    HistoryPanel(int number, QWidget* parent);

    QComboBox* chooser() const { return chooser_; }
    QCustomPlot* plot() const { return plot_; }
    // The index into history::QuantityChoices().
    int choice() const;
    void setChoice(int choice);
    // The values the chosen quantity charts.
    const std::vector<int>& valueIndices() const;

    // Takes the chosen quantity's series from `snapshot` on time base `base`.
    void setSeries(const HistorySnapshot& snapshot, history::TimeBase base);
    // Draws the view: at most two points a pixel column for each series.
    void draw(history::TimeSpan view);
    // The limits file's ranges: a band for the quantity's actual (or only) value, and red
    // points where a drawn value is out of its limits. Takes effect at the next draw.
    void setLimits(const LimitTable& limits) { limits_ = limits; }
    // The red points drawn and the band (its bottom and top; hidden when not limited).
    QCPGraph* outOfLimits() const { return outside_; }
    QCPItemRect* band() const { return band_; }
    // The points drawn of the panel's series, in the order of its value indices.
    const std::vector<history::DrawnPoints>& drawn() const { return drawn_; }
    // The cross-hair at `time` (hidden without one) and the values of the frame there.
    void showHover(std::optional<double> time, const QString& values);
    QLabel* hoverValue() const { return hoverValue_; }

  signals:
    void choiceChanged();
    void zoomRequested(double anchor, double factor);
    void panRequested(double fraction);
    void wholeRangeRequested();
    // The pointer is over time `time`, or has left the chart.
    void hovered(double time);
    void hoverLeft();
    // A rectangle was dragged with Shift from time `from` to time `to`.
    void rangeDragged(double from, double to);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void makeGraphs(std::size_t count);
    void styleAxes(history::TimeBase base);
    void fitValueAxis();
    history::ColumnPick pickOf(std::size_t graph) const;
    void drawLimits(history::TimeSpan view);
    void mouse(QMouseEvent* event);
    void placeCrossHair();

    QComboBox* chooser_;
    QLabel* hoverValue_;
    QCustomPlot* plot_;
    QRubberBand* rubberBand_;
    QCPItemStraightLine* crossHair_ = nullptr;
    std::optional<double> hoverTime_;
    std::vector<std::shared_ptr<const history::PlotSeries>> series_;
    std::vector<history::DrawnPoints> drawn_;
    std::vector<QCPGraph*> graphs_;
    std::vector<int> valueIndices_;
    LimitTable limits_{};
    QCPGraph* outside_ = nullptr;
    QCPItemRect* band_ = nullptr;
    RangeFill* rangeFill_ = nullptr;  // a quantity's minimum to maximum
    double dragFrom_ = -1.0;          // the pixel a drag began at, while one is under way
    double rectangleFrom_ = -1.0;     // the same for a rectangle dragged with Shift
};

}  // namespace pelorin
