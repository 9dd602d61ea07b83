#pragma once

#include <QPoint>
#include <QSharedPointer>
#include <QString>
#include <QWidget>
#include <vector>

class QCustomPlot;
class QCPBars;
class QCPItemText;
class QCPRange;

namespace pelorin {

class CategoryTicker;

// The trend chart: a grid of data rows and one drawn column, shown as a two-dimensional bar
// chart over QCustomPlot with the row labels along the category axis. The setters only store
// into plain arrays; the plot is rebuilt and replotted once, at the next turn of the event
// loop, however many setters ran (or at once through updateNow()).
// On top of the grid (ChartInteraction): a hover text per bar, barClicked() on a click, wheel
// zoom and drag along the category axis (double click shows the whole range again) and a
// context menu to save or copy the picture.
class TrendChart : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kBarChart2d = 1;

    explicit TrendChart(QWidget* parent = nullptr);
    ~TrendChart() override;

    // Only the two-dimensional bar chart is drawn; another type is stored and read back.
    void setChartType(int chartType);
    void setCategoryAutoDivision(bool automatic);
    // Spacings below 1 count as 1.
    void setCategoriesBetweenTicks(int n);
    void setCategoriesBetweenLabels(int n);
    // 0 to 32767 rows (clamped); rows added get their number as label and the value 0. Shows
    // the whole range again.
    void setRowCount(int rows);
    // The 1-based current row and column; a cell outside the grid, or in a column other than
    // 1, takes no label or data.
    void setRow(int row);
    void setColumn(int column);
    void setRowLabel(const QString& label);
    void setData(double value);
    // Unit put after the value in the hover text, "" for none.
    void setValueUnit(const QString& unit);

    int chartType() const { return chartType_; }
    bool categoryAutoDivision() const { return autoDivision_; }
    int categoriesBetweenTicks() const { return ticksEvery_; }
    int categoriesBetweenLabels() const { return labelsEvery_; }
    int rowCount() const { return static_cast<int>(values_.size()); }
    // Label and value of a 1-based row; "" and 0 outside the grid.
    QString rowLabel(int row) const;
    double data(int row) const;
    // False while the placeholder shows, that is before the first row count was set.
    bool hasDrawing() const { return hasDrawing_; }
    QString valueUnit() const { return unit_; }

    // Writes the chart as a PNG picture at its current size; false when the file could not be
    // written.
    bool savePng(const QString& path);
    // Puts the chart's picture on the clipboard.
    void copyToClipboard();
    QCustomPlot* plot() const { return plot_; }

    // Rebuilds and replots now if a setter changed something since the last drawing.
    void updateNow();
    // Shows all rows along the category axis again (after zooming or panning).
    void showWholeRange();
    // The key range of all rows, or of the placeholder before the first drawing.
    QCPRange wholeKeyRange() const;

    // The 1-based row whose category slot lies under `pos` (plot() coordinates) inside the
    // plotting area, 0 for none.
    int rowAt(const QPoint& pos) const;
    // The centre of the bar's category slot at the middle of the plotting area's height, in
    // plot() coordinates (for pointing at a bar).
    QPoint barCenter(int row) const;
    // The hover text of a 1-based row: "Record <label>: <value> <unit>".
    QString barToolTip(int row) const;

    QSize sizeHint() const override;

  signals:
    void barClicked(int row);  // 1-based row of the clicked bar

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void setUpPlot();
    void applyFont();
    void applyPalette();
    void markDirty();
    void rebuild();
    void applyAxisDivision();
    void fitValueAxis();
    void styleBarsForWidth();
    bool inGrid() const;
    // Brings the drawing up to date and gives the size its picture is taken at.
    QSize pictureSize();

    QCustomPlot* plot_ = nullptr;
    QCPBars* bars_ = nullptr;
    QCPItemText* placeholder_ = nullptr;
    QSharedPointer<CategoryTicker> categoryTicker_;

    int chartType_ = kBarChart2d;
    bool autoDivision_ = true;
    int ticksEvery_ = 1;
    int labelsEvery_ = 1;
    int row_ = 1;
    int column_ = 1;
    std::vector<QString> labels_;
    std::vector<double> values_;
    QString unit_;
    bool hasDrawing_ = false;
    bool dirty_ = false;
    bool wholeRangePending_ = false;
};

}  // namespace pelorin
