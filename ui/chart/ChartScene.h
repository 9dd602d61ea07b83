#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "ChartColors.h"
#include "SceneRows.h"

class QCPGraph;
class QCPItemStraightLine;
class QCPItemText;
class QCPLayoutGrid;
class QCustomPlot;
class QFont;

namespace pelorin {

class TrendBars;

// The chart's plot set up for a plain engineering chart, and its drawn content: the bars (or
// minimum-to-maximum bars), the average and actual marks with their legend, the selected-record
// cursor, the reboot markers and the placeholder, in the colours of the widget's palette.
class ChartScene {
  public:
    // Tick marks of the key axis, pixels.
    static constexpr int kTickLength = 4;

    enum Marks { Average, Actual, FlaggedAverage, FlaggedActual, kMarkSeries };

    explicit ChartScene(QCustomPlot& plot);
    ~ChartScene();
    ChartScene(const ChartScene&) = delete;
    ChartScene& operator=(const ChartScene&) = delete;

    void setColors(const ChartColors& colors);
    void setLabelFont(const QFont& font);
    void show(const SceneRows& rows);
    void showPlaceholder(bool shown);
    // Marks the row at `at` (0-based, in row order) with a cursor line behind the bars and an
    // outline around its bar; none for -1.
    void setSelected(int at);
    void setSegmentMarkers(const std::vector<double>& xs);
    // Outline, width and mark sizes for the bar width in pixels; before every replot.
    void styleForWidth();

    TrendBars* bars() const { return bars_; }
    QCPGraph* marks(Marks series) const { return marks_[series]; }
    QCPItemStraightLine* cursor() const { return cursor_; }
    const std::vector<QCPItemStraightLine*>& segmentMarkers() const { return segmentMarkers_; }

  private:
    void createMarks();
    void showLegend(bool shown);
    void styleMarks(double barPixels);

    QCustomPlot& plot_;
    ChartColors colors_;
    TrendBars* bars_ = nullptr;
    std::array<QCPGraph*, kMarkSeries> marks_{};
    QCPItemStraightLine* cursor_ = nullptr;
    QCPItemText* placeholder_ = nullptr;
    QCPLayoutGrid* legendRow_ = nullptr;
    std::vector<QCPItemStraightLine*> segmentMarkers_;
    double barWidth_ = kBarShare;
    bool legendShown_ = false;
};

}  // namespace pelorin
