#pragma once

#include <QPixmap>
#include <QPoint>
#include <QSharedPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "ChartDetails.h"
#include "ChartOptions.h"
#include "ChartPicture.h"
#include "RowKeys.h"

class QCustomPlot;
class QCPRange;

namespace pelorin {

class CategoryTicker;
class ChartMenu;
class ChartScene;
class LimitLines;
class TimeTicker;
class ValueTicker;
struct SceneRows;

// The trend chart: a grid of data rows and one drawn column, shown as a two-dimensional bar
// chart over QCustomPlot with the row labels along the category axis. The setters only store
// into plain arrays; the plot is rebuilt and replotted once, at the next turn of the event
// loop, however many setters ran (or at once through updateNow()).
// Beside the grid it takes details (each row's on-board time, the four statistics of its
// quantity, names and the value text) and the user's limits, and draws by the user's options:
// by record number or on-board time, a fitted or zero-based value axis, bars or the four
// statistics, with the charted value's limits as lines. The selected row is marked with a
// cursor line. Mouse work is ChartInteraction's, the context menu ChartMenu's, the keys
// ChartKeys'.
class TrendChart : public QWidget {
    Q_OBJECT
  public:
    // A bar or marker this near the pointer (pixels) is hovered.
    static constexpr double kHoverPixels = 3.0;

    explicit TrendChart(QWidget* parent = nullptr);
    ~TrendChart() override;

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
    void setDetails(ChartDetails details);
    void setLimits(const ChartLimits& limits);
    // The user's choices; optionsChanged() tells when they changed.
    void setOptions(const ChartOptions& options);
    // The 1-based row marked as selected; none outside the grid.
    void setSelectedRow(int row);

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
    const ChartDetails& details() const { return details_; }
    const ChartOptions& options() const { return options_; }
    int selectedRow() const { return selectedRow_; }
    // What the last drawing shows: on-board time along the axis, the four statistics.
    bool showsTime() const { return rowKeys_.timeAxis() != nullptr; }
    bool showsStatistics() const;
    const RowKeys& rowKeys() const { return rowKeys_; }
    const ChartScene& scene() const { return *scene_; }
    const LimitLines& limitLines() const { return *limitLines_; }

    // The picture for saving and copying, with its captions, at the chart's size.
    QPixmap picture();
    PictureCaptions pictureCaptions() const;
    // Writes the picture as PNG and says in messageForUser() where, or why it could not.
    bool savePicture(const QString& path);
    // Puts the picture on the clipboard and says so in messageForUser().
    void copyToClipboard();
    QCustomPlot* plot() const { return plot_; }

    // Rebuilds and replots now if a setter changed something since the last drawing.
    void updateNow();
    // Shows all rows along the key axis again (after zooming or panning).
    void showWholeRange();
    // For rows that keep coming: a view the user zoomed keeps its width at the next drawing
    // and moves to end at the last row, instead of showing the whole range again.
    void keepZoomAtNewestRow();
    // The key range of all rows, or of the placeholder before the first drawing.
    QCPRange wholeKeyRange() const;
    // The typical step between neighbouring rows in keys: 1 by record number.
    double recordStep() const { return rowKeys_.step(); }

    // The 1-based row whose bar lies under `pos` (plot() coordinates) inside the plotting area,
    // 0 for none.
    int rowAt(const QPoint& pos) const;
    // The centre of the row's bar slot at the middle of the plotting area's height, in plot()
    // coordinates (for pointing at a bar).
    QPoint barCenter(int row) const;

    // The hover text of a 1-based row: "Record <label>: <value name> <value> <unit>", or its
    // four statistics.
    QString barToolTip(int row) const;

    QSize sizeHint() const override;

  signals:
    void barClicked(int row);  // 1-based row of the clicked bar
    void optionsChanged(const pelorin::ChartOptions& options);
    void messageForUser(const QString& text);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void setUpPlot();
    void applyFont();
    void markDirty();
    void queueUpdate();
    void rebuild();
    void layOutKeys();
    void applyAxisDivision();
    void fitValueAxis(const SceneRows& rows);
    void updateCursor();
    bool inGrid() const;

    QCustomPlot* plot_ = nullptr;
    std::unique_ptr<ChartScene> scene_;
    std::unique_ptr<LimitLines> limitLines_;
    QSharedPointer<CategoryTicker> categoryTicker_;
    QSharedPointer<TimeTicker> timeTicker_;
    QSharedPointer<ValueTicker> valueTicker_;

    bool autoDivision_ = true;
    int ticksEvery_ = 1;
    int labelsEvery_ = 1;
    int row_ = 1;
    int column_ = 1;
    std::vector<QString> labels_;
    std::vector<double> values_;
    QString unit_;
    ChartDetails details_;
    ChartLimits limits_;
    ChartOptions options_;
    int selectedRow_ = 0;
    bool hasDrawing_ = false;
    bool dirty_ = false;        // the plot is to be rebuilt
    bool cursorMoved_ = false;  // only the cursor is to move
    bool updateQueued_ = false;
    bool wholeRangePending_ = false;
    std::optional<double> keptZoomWidth_;  // see keepZoomAtNewestRow()

    RowKeys rowKeys_;  // of the last drawing
};

}  // namespace pelorin
