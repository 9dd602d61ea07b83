#include "ChartScene.h"

#include <qcustomplot.h>
#include <algorithm>

#include "TrendBars.h"

namespace pelorin {
namespace {

// No antialiasing, so 1000 bars and their marks stay cheap.
const QMargins kFixedMargins(0, 8, 16, 0);  // pixels; left and bottom follow the labels
constexpr double kMinOutlinedBarPixels = 4.0;
constexpr double kMaxBarPixels = 60.0;
constexpr double kMinDashPixels = 8.0;  // clearly wider than high
constexpr double kMaxDashPixels = 14.0;
constexpr double kMinDiamondPixels = 7.0;
constexpr double kMaxDiamondPixels = 10.0;
constexpr double kDashHeight = 4.0;         // room for a red fill inside an outline
constexpr double kUnscaledShapeSize = 6.0;  // QCustomPlot scales custom shapes by size / 6
constexpr double kCursorWidth = 2.0;
constexpr double kLegendRowStretch = 0.001;  // the legend row takes no more than it needs

const char* const kPlaceholderText = "No records decoded yet";
const char* const kRangeName = "minimum to maximum";
const char* const kAverageName = "average";
const char* const kActualName = "actual";

// The average's mark: a flat dash across the bar, a little wider than the bar.
QPainterPath DashShape(double barPixels) {
    const double width = std::clamp(barPixels + 2, kMinDashPixels, kMaxDashPixels);
    QPainterPath dash;
    dash.addRect(-width / 2, -kDashHeight / 2, width, kDashHeight);
    return dash;
}

// The marks of `values` whose flag is `flagged`: the plain and the red marks are two graphs.
void SetMarks(QCPGraph* graph, const SceneRows& rows, const std::vector<double>& values,
              const std::vector<char>& flags, bool flagged) {
    QVector<double> keys;
    QVector<double> shown;
    for (std::size_t i = 0; i < values.size() && i < rows.keys.size(); ++i) {
        if ((i < flags.size() && flags[i] != 0) == flagged) {
            keys.append(rows.keys[i]);
            shown.append(values[i]);
        }
    }
    graph->setData(keys, shown, true);
}

}  // namespace

ChartScene::ChartScene(QCustomPlot& plot) : plot_(plot) {
    plot_.setNotAntialiasedElements(QCP::aeAll);
    plot_.setNoAntialiasingOnDrag(true);
    plot_.setPlottingHint(QCP::phCacheLabels, true);
    plot_.setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot_.axisRect()->setRangeDrag(Qt::Horizontal);
    plot_.axisRect()->setRangeZoom(Qt::Horizontal);
    // Room above and to the right for the half labels that stand at the ends of the axes.
    plot_.axisRect()->setAutoMargins(QCP::msLeft | QCP::msBottom);
    plot_.axisRect()->setMargins(kFixedMargins);
    plot_.xAxis->grid()->setVisible(false);
    plot_.xAxis->setTickLength(0, kTickLength);
    plot_.xAxis->setSubTickLength(0, kTickLength);
    plot_.yAxis->setSubTicks(false);
    plot_.setAutoAddPlottableToLegend(false);
    bars_ = new TrendBars(plot_.xAxis, plot_.yAxis);
    bars_->setName(QString::fromLatin1(kRangeName));
    bars_->setWidth(kBarShare);
    bars_->setBrush(kBarFill);
    bars_->setAntialiased(false);
    bars_->setAntialiasedFill(false);
    bars_->setSelectable(QCP::stNone);
    createMarks();

    cursor_ = new QCPItemStraightLine(&plot_);
    cursor_->setSelectable(false);
    cursor_->setVisible(false);
    // Behind the bars, so that it never hides the colour of the bar it marks.
    cursor_->setLayer(QStringLiteral("grid"));
    placeholder_ = new QCPItemText(&plot_);
    placeholder_->position->setType(QCPItemPosition::ptAxisRectRatio);
    placeholder_->position->setCoords(0.5, 0.5);
    placeholder_->setText(QString::fromLatin1(kPlaceholderText));
    setColors(ChartColors::FromPalette(plot_.palette()));
}

void ChartScene::createMarks() {
    const std::array<const char*, kMarkSeries> names = {kAverageName, kActualName, kAverageName,
                                                        kActualName};
    for (int series = 0; series < kMarkSeries; ++series) {
        QCPGraph* graph = plot_.addGraph(plot_.xAxis, plot_.yAxis);
        graph->setName(QString::fromLatin1(names[static_cast<std::size_t>(series)]));
        graph->setLineStyle(QCPGraph::lsNone);
        graph->setPen(Qt::NoPen);  // also the outline of marks that have none of their own
        graph->setAntialiasedScatters(false);
        graph->setSelectable(QCP::stNone);
        graph->setVisible(false);
        marks_[static_cast<std::size_t>(series)] = graph;
    }
    QCPLegend* legend = plot_.legend;
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setWrap(0);
    legend->addItem(new QCPPlottableLegendItem(legend, bars_));
    legend->addItem(new QCPPlottableLegendItem(legend, marks_[Average]));
    legend->addItem(new QCPPlottableLegendItem(legend, marks_[Actual]));
    legend->setVisible(false);
    legend->setMargins(QMargins(0, 0, 0, 0));
    // The legend row: the legend at its own width on the left, an empty cell taking the rest.
    plot_.axisRect()->insetLayout()->take(legend);
    legendRow_ = new QCPLayoutGrid;
    legendRow_->addElement(0, 0, legend);
    legendRow_->addElement(0, 1, new QCPLayoutElement(&plot_));
    legendRow_->setColumnStretchFactors({kLegendRowStretch, 1});
}

// The plot deletes its legend with its layout, and wants it there until then.
ChartScene::~ChartScene() {
    showLegend(true);
}

void ChartScene::setColors(const ChartColors& colors) {
    colors_ = colors;
    plot_.setBackground(colors.background);
    for (QCPAxis* axis : {plot_.xAxis, plot_.yAxis}) {
        axis->setBasePen(QPen(colors.text, 0));
        axis->setTickPen(QPen(colors.text, 0));
        axis->setSubTickPen(QPen(colors.text, 0));
        axis->setTickLabelColor(colors.text);
        axis->setLabelColor(colors.text);
    }
    plot_.yAxis->grid()->setPen(QPen(colors.grid, 0, Qt::DotLine));
    plot_.yAxis->grid()->setZeroLinePen(QPen(colors.zeroLine, 0));
    bars_->setFlagged(bars_->flagged(), colors.outOfLimits);
    bars_->setMarked(bars_->marked(), QPen(colors.text, 0));
    cursor_->setPen(QPen(colors.text, kCursorWidth));
    for (QCPItemStraightLine* marker : segmentMarkers_) {
        marker->setPen(QPen(colors.faint, 0, Qt::DashLine));
    }
    placeholder_->setColor(colors.faint);
    plot_.legend->setBrush(colors.background);
    plot_.legend->setBorderPen(Qt::NoPen);
    plot_.legend->setTextColor(colors.text);
    styleForWidth();
}

void ChartScene::setLabelFont(const QFont& font) {
    plot_.xAxis->setTickLabelFont(font);
    plot_.yAxis->setTickLabelFont(font);
    plot_.xAxis->setLabelFont(font);
    plot_.yAxis->setLabelFont(font);
    placeholder_->setFont(font);
    plot_.legend->setFont(font);
}

void ChartScene::show(const SceneRows& rows) {
    QVector<QCPBarsData> bars;
    bars.reserve(static_cast<int>(rows.keys.size()));
    for (std::size_t i = 0; i < rows.keys.size(); ++i) {
        bars.append(QCPBarsData(rows.keys[i], rows.tops[i]));
    }
    bars_->data()->set(bars, true);
    bars_->setBases(rows.bases);
    bars_->setFlagged(rows.barFlagged, colors_.outOfLimits);
    barWidth_ = rows.barWidth;
    const bool statistics = !rows.averages.empty();
    SetMarks(marks_[Average], rows, rows.averages, rows.averageFlagged, false);
    SetMarks(marks_[Actual], rows, rows.actuals, rows.actualFlagged, false);
    SetMarks(marks_[FlaggedAverage], rows, rows.averages, rows.averageFlagged, true);
    SetMarks(marks_[FlaggedActual], rows, rows.actuals, rows.actualFlagged, true);
    for (QCPGraph* graph : marks_) {
        graph->setVisible(statistics);
    }
    showLegend(statistics);
}

// The legend takes a row of its own above the plotting area, so that it never hides a value.
void ChartScene::showLegend(bool shown) {
    if (shown == legendShown_) {
        return;
    }
    legendShown_ = shown;
    QCPLayoutGrid* layout = plot_.plotLayout();
    if (shown) {
        layout->insertRow(0);
        layout->addElement(0, 0, legendRow_);
        layout->setRowStretchFactor(0, kLegendRowStretch);
    } else {
        layout->take(legendRow_);
        layout->simplify();
    }
    plot_.legend->setVisible(shown);
}

void ChartScene::showPlaceholder(bool shown) {
    placeholder_->setVisible(shown);
}

void ChartScene::setSelected(int at) {
    const bool shown = at >= 0 && at < bars_->dataCount();
    cursor_->setVisible(shown);
    bars_->setMarked(shown ? at : -1, QPen(colors_.text, 0));
    if (shown) {
        const double key = bars_->data()->at(at)->key;
        cursor_->point1->setCoords(key, 0);
        cursor_->point2->setCoords(key, 1);
    }
}

void ChartScene::setSegmentMarkers(const std::vector<double>& xs) {
    while (segmentMarkers_.size() > xs.size()) {
        plot_.removeItem(segmentMarkers_.back());
        segmentMarkers_.pop_back();
    }
    while (segmentMarkers_.size() < xs.size()) {
        auto* marker = new QCPItemStraightLine(&plot_);
        marker->setSelectable(false);
        marker->setPen(QPen(colors_.faint, 0, Qt::DashLine));
        segmentMarkers_.push_back(marker);
    }
    for (std::size_t i = 0; i < xs.size(); ++i) {
        segmentMarkers_[i]->point1->setCoords(xs[i], 0);
        segmentMarkers_[i]->point2->setCoords(xs[i], 1);
    }
}

// Bars narrower than a few pixels are drawn without outline, else the outlines would turn
// 1000 bars into one dark block; a few bars on a wide chart keep a sensible width.
void ChartScene::styleForWidth() {
    const double perKey = plot_.axisRect()->width() / plot_.xAxis->range().size();
    const double barPixels = barWidth_ * perKey;
    bars_->setPen(barPixels < kMinOutlinedBarPixels ? QPen(Qt::NoPen) : QPen(kBarOutline, 0));
    if (barPixels > kMaxBarPixels) {
        bars_->setWidthType(QCPBars::wtAbsolute);
        bars_->setWidth(kMaxBarPixels);
    } else {
        bars_->setWidthType(QCPBars::wtPlotCoords);
        bars_->setWidth(barWidth_);
    }
    styleMarks(barPixels);
}

// Marks in the text colour; out of limits red inside an outline in the text colour, so that
// they stand out on a red bar too.
void ChartScene::styleMarks(double barPixels) {
    const QPainterPath dash = DashShape(barPixels);
    const double diamond = std::clamp(barPixels + 2, kMinDiamondPixels, kMaxDiamondPixels);
    for (int series = 0; series < kMarkSeries; ++series) {
        const bool flagged = series == FlaggedAverage || series == FlaggedActual;
        const QPen pen = flagged ? QPen(colors_.text, 0) : QPen(Qt::NoPen);
        const QBrush brush(flagged ? colors_.outOfLimits : colors_.text);
        marks_[static_cast<std::size_t>(series)]->setScatterStyle(
            series == Average || series == FlaggedAverage
                ? QCPScatterStyle(dash, pen, brush, kUnscaledShapeSize)
                : QCPScatterStyle(QCPScatterStyle::ssDiamond, pen, brush, diamond));
    }
}

}  // namespace pelorin
