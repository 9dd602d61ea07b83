#include "TrendChart.h"

#include <qcustomplot.h>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "CategoryTicker.h"
#include "ChartInteraction.h"
#include "ChartKeys.h"
#include "ChartMenu.h"
#include "ChartScene.h"
#include "ChartTexts.h"
#include "LimitLines.h"
#include "SceneRows.h"
#include "TimeTicker.h"
#include "ValueRange.h"
#include "ValueTicker.h"
#include "pelorin/number_text.h"

namespace pelorin {
namespace {

constexpr double kTickLabelPoints = 8.0;  // readable at the chart's designed 249 pixel height
constexpr int kMaxRows = 32767;           // the row count is a 16-bit count
// A view narrower than all rows by more than this share of a record step is zoomed.
constexpr double kZoomTolerance = 0.01;
const QSize kDesignSize(745, 249);
const QCPRange kPlaceholderKeys(0.5, 10.5);
const ValueRange kPlaceholderValues{0.0, 1.0};

}  // namespace

TrendChart::TrendChart(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The chart takes part in the window's focus order; keys it does not use go to the window.
    setFocusPolicy(Qt::StrongFocus);
    plot_ = new QCustomPlot(this);
    layout->addWidget(plot_);
    setUpPlot();
    auto* interaction = new ChartInteraction(*this);
    connect(interaction, &ChartInteraction::barClicked, this, &TrendChart::barClicked);
    new ChartMenu(*this);  // owned by the chart
    new ChartKeys(*this);
}

// The category ticker reads labels_, so the plot goes before the members do.
TrendChart::~TrendChart() {
    scene_.reset();
    delete plot_;
}

void TrendChart::setUpPlot() {
    plot_->setObjectName(QStringLiteral("trendPlot"));
    scene_ = std::make_unique<ChartScene>(*plot_);
    limitLines_ = std::make_unique<LimitLines>(*plot_);
    limitLines_->setColor(ChartColors::FromPalette(palette()).outOfLimits);
    categoryTicker_ = QSharedPointer<CategoryTicker>::create(plot_->xAxis, &labels_);
    timeTicker_ = QSharedPointer<TimeTicker>::create(plot_->xAxis);
    valueTicker_ = QSharedPointer<ValueTicker>::create();
    plot_->xAxis->setTicker(categoryTicker_);
    plot_->yAxis->setTicker(valueTicker_);
    applyFont();
    plot_->xAxis->setTicks(false);
    plot_->yAxis->setTicks(false);
    plot_->yAxis->grid()->setVisible(false);
    plot_->xAxis->setRange(kPlaceholderKeys);
    plot_->yAxis->setRange(kPlaceholderValues.lower, kPlaceholderValues.upper);
    connect(plot_, &QCustomPlot::beforeReplot, this, [this] { scene_->styleForWidth(); });
}

// The labels take the chart's font family, at a fixed size and weight that stay readable in
// the chart's small height whatever font its container carries.
void TrendChart::applyFont() {
    QFont labelFont = font();
    labelFont.setPointSizeF(kTickLabelPoints);
    labelFont.setWeight(QFont::Normal);
    labelFont.setItalic(false);
    scene_->setLabelFont(labelFont);
}

void TrendChart::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (scene_ == nullptr) {
        return;
    }
    if (event->type() == QEvent::FontChange) {
        applyFont();
    } else if (event->type() == QEvent::PaletteChange) {
        scene_->setColors(ChartColors::FromPalette(palette()));
        limitLines_->setColor(ChartColors::FromPalette(palette()).outOfLimits);
    } else {
        return;
    }
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

QSize TrendChart::sizeHint() const {
    return kDesignSize;
}

void TrendChart::setCategoryAutoDivision(bool automatic) {
    autoDivision_ = automatic;
    markDirty();
}

void TrendChart::setCategoriesBetweenTicks(int n) {
    ticksEvery_ = std::max(n, 1);
    markDirty();
}

void TrendChart::setCategoriesBetweenLabels(int n) {
    labelsEvery_ = std::max(n, 1);
    markDirty();
}

void TrendChart::setRowCount(int rows) {
    const auto count = static_cast<std::size_t>(std::clamp(rows, 0, kMaxRows));
    const std::size_t before = labels_.size();
    labels_.resize(count);
    values_.resize(count, 0.0);
    for (std::size_t i = before; i < count; ++i) {
        labels_[i] = QString::fromStdString(FormatInteger(static_cast<int>(i) + 1));
    }
    hasDrawing_ = true;
    wholeRangePending_ = true;
    markDirty();
}

void TrendChart::setRow(int row) {
    row_ = row;
}

void TrendChart::setColumn(int column) {
    column_ = column;
}

bool TrendChart::inGrid() const {
    return column_ == 1 && row_ >= 1 && row_ <= rowCount();
}

void TrendChart::setRowLabel(const QString& label) {
    if (row_ >= 1 && row_ <= rowCount()) {
        labels_[static_cast<std::size_t>(row_) - 1] = label;
        markDirty();
    }
}

void TrendChart::setData(double value) {
    if (inGrid()) {
        values_[static_cast<std::size_t>(row_) - 1] = value;
        markDirty();
    }
}

void TrendChart::setValueUnit(const QString& unit) {
    unit_ = unit;
}

void TrendChart::setDetails(ChartDetails details) {
    details_ = std::move(details);
    markDirty();
}

void TrendChart::setLimits(const ChartLimits& limits) {
    if (limits == limits_) {
        return;
    }
    limits_ = limits;
    markDirty();
}

void TrendChart::setOptions(const ChartOptions& options) {
    if (options == options_) {
        return;
    }
    options_ = options;
    markDirty();
    emit optionsChanged(options_);
}

void TrendChart::setSelectedRow(int row) {
    if (row == selectedRow_) {
        return;
    }
    selectedRow_ = row;
    cursorMoved_ = true;
    queueUpdate();
}

QString TrendChart::rowLabel(int row) const {
    if (row < 1 || row > rowCount()) {
        return {};
    }
    return labels_[static_cast<std::size_t>(row) - 1];
}

double TrendChart::data(int row) const {
    if (row < 1 || row > rowCount()) {
        return 0.0;
    }
    return values_[static_cast<std::size_t>(row) - 1];
}

bool TrendChart::showsStatistics() const {
    const auto rows = static_cast<std::size_t>(rowCount());
    bool shown = options_.showStatistics && rows > 0;
    for (int s = 0; s < kStatisticsCount; ++s) {
        shown = shown && StatisticColumn(details_, values_, s).size() == rows;
    }
    return shown;
}

void TrendChart::markDirty() {
    dirty_ = true;
    queueUpdate();
}

// One update at the next turn of the event loop, whatever changed before it.
void TrendChart::queueUpdate() {
    if (updateQueued_) {
        return;
    }
    updateQueued_ = true;
    QMetaObject::invokeMethod(this, &TrendChart::updateNow, Qt::QueuedConnection);
}

void TrendChart::updateNow() {
    updateQueued_ = false;
    if (dirty_) {
        rebuild();  // the cursor too
    } else if (cursorMoved_) {
        updateCursor();
    } else {
        return;
    }
    dirty_ = false;
    cursorMoved_ = false;
    plot_->replot();
}

void TrendChart::rebuild() {
    layOutKeys();
    const SceneRows rows = BuildSceneRows(rowKeys_, values_, details_, limits_, showsStatistics());
    scene_->show(rows);
    applyAxisDivision();
    fitValueAxis(rows);
    limitLines_->show(hasDrawing_ ? limits_.value : ValueLimits{});
    std::vector<double> markers;
    if (const auto& timeAxis = rowKeys_.timeAxis()) {
        for (const SegmentStart& start : timeAxis->segmentStarts()) {
            markers.push_back(start.x);
        }
    }
    scene_->setSegmentMarkers(markers);
    scene_->showPlaceholder(!hasDrawing_);
    plot_->xAxis->setTicks(hasDrawing_);
    plot_->yAxis->setTicks(hasDrawing_);
    plot_->yAxis->grid()->setVisible(hasDrawing_);
    if (wholeRangePending_) {
        wholeRangePending_ = false;
        plot_->xAxis->setRange(wholeKeyRange());
    }
    updateCursor();
    if (keptZoomWidth_) {
        const double upper = wholeKeyRange().upper;
        plot_->xAxis->setRange(upper - *keptZoomWidth_, upper);
        keptZoomWidth_.reset();
    }
}

// Rows stand at their on-board times when that is chosen and every row has a finite one.
void TrendChart::layOutKeys() {
    const std::vector<double>& times = details_.times;
    const bool byTime =
        options_.timeAxis == TimeAxisChoice::OnBoardTime && rowCount() > 0 &&
        times.size() == static_cast<std::size_t>(rowCount()) &&
        std::all_of(times.begin(), times.end(), [](double t) { return std::isfinite(t); });
    // Switching between the two kinds of keys shows the whole range of the new kind.
    wholeRangePending_ = wholeRangePending_ || byTime != showsTime();
    rowKeys_ = byTime ? RowKeys::ByTime(times) : RowKeys::ByRecordNumber(rowCount());
    timeTicker_->setTimeAxis(rowKeys_.timeAxis());
    plot_->xAxis->setTicker(byTime ? QSharedPointer<QCPAxisTicker>(timeTicker_)
                                   : QSharedPointer<QCPAxisTicker>(categoryTicker_));
}

void TrendChart::applyAxisDivision() {
    categoryTicker_->setAutomatic(autoDivision_);
    categoryTicker_->setSpacing(ticksEvery_, labelsEvery_);
    categoryTicker_->setWholeSpan(std::max(rowCount(), 1));
    // With a fixed division the labels and the tick marks have their own spacings: the labels
    // sit on the main ticks (drawn without a mark), the marks are the sub ticks. The time axis
    // marks its labels.
    const bool fixed = !autoDivision_ && !showsTime();
    QCPAxis* keys = plot_->xAxis;
    keys->setTickLength(0, fixed ? 0 : ChartScene::kTickLength);
    keys->setSubTicks(fixed);
}

void TrendChart::fitValueAxis(const SceneRows& rows) {
    valueTicker_->setWholeNumbers(hasDrawing_ && details_.wholeNumbers);
    if (!hasDrawing_) {
        plot_->yAxis->setRange(kPlaceholderValues.lower, kPlaceholderValues.upper);
        return;
    }
    std::vector<double> shown = rows.tops;
    for (const std::vector<double>* more : {&rows.bases, &rows.averages, &rows.actuals}) {
        shown.insert(shown.end(), more->begin(), more->end());
    }
    // The limit lines stay in sight.
    for (const std::optional<double>& bound : {limits_.value.low, limits_.value.high}) {
        if (bound && std::isfinite(*bound)) {
            shown.push_back(*bound);
        }
    }
    const ValueRange range = FitValueRange(shown, options_.valueScale, details_.wholeNumbers);
    plot_->yAxis->setRange(range.lower, range.upper);
}

// The cursor stands at the selected row; when the row lies outside a zoomed view, the view
// moves to it.
void TrendChart::updateCursor() {
    const std::optional<double> key = hasDrawing_ ? rowKeys_.keyOf(selectedRow_) : std::nullopt;
    scene_->setSelected(key ? selectedRow_ - 1 : -1);
    const QCPRange shown = plot_->xAxis->range();
    if (key && !shown.contains(*key)) {
        plot_->xAxis->setRange(*key - shown.size() / 2, *key + shown.size() / 2);
    }
}

QCPRange TrendChart::wholeKeyRange() const {
    if (!hasDrawing_) {
        return kPlaceholderKeys;
    }
    const auto [lower, upper] = rowKeys_.wholeRange();
    return {lower, upper};
}

void TrendChart::keepZoomAtNewestRow() {
    const double shown = plot_->xAxis->range().size();
    if (hasDrawing_ && shown < wholeKeyRange().size() - kZoomTolerance * recordStep()) {
        keptZoomWidth_ = shown;
    }
}

void TrendChart::showWholeRange() {
    plot_->xAxis->setRange(wholeKeyRange());
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

int TrendChart::rowAt(const QPoint& pos) const {
    if (!hasDrawing_ || !plot_->axisRect()->rect().contains(pos)) {
        return 0;
    }
    const QCPAxis* keys = plot_->xAxis;
    const double pixelsPerKey = plot_->axisRect()->width() / keys->range().size();
    const double tolerance = std::max(rowKeys_.step() / 2, kHoverPixels / pixelsPerKey);
    return rowKeys_.rowNear(keys->pixelToCoord(pos.x()), tolerance);
}

QPoint TrendChart::barCenter(int row) const {
    const double x = plot_->xAxis->coordToPixel(rowKeys_.keyOf(row).value_or(row));
    return {static_cast<int>(std::lround(x)), plot_->axisRect()->rect().center().y()};
}

QString TrendChart::barToolTip(int row) const {
    if (row < 1 || row > rowCount()) {
        return {};
    }
    const auto at = static_cast<std::size_t>(row) - 1;
    if (!showsStatistics()) {
        return RowToolTip(rowLabel(row), details_, unit_,
                          {data(row), IsOutOfLimits(data(row), limits_.value)});
    }
    std::array<ShownValue, kStatisticsCount> values;
    for (std::size_t s = 0; s < values.size(); ++s) {
        const double value = StatisticColumn(details_, values_, static_cast<int>(s))[at];
        values[s] = {value, IsOutOfLimits(value, limits_.statistics[s])};
    }
    return StatisticsToolTip(rowLabel(row), details_, unit_, values);
}

}  // namespace pelorin
