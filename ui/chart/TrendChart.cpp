#include "TrendChart.h"

#include <qcustomplot.h>
#include <QApplication>
#include <QClipboard>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "CategoryTicker.h"
#include "ChartInteraction.h"
#include "ChartNumberText.h"
#include "ChartPalette.h"
#include "TrendBars.h"
#include "ValueTicker.h"
#include "pelorin/number_text.h"

namespace pelorin {
namespace {

// The chart's look: a plain engineering plot, no antialiasing so 1000 bars stay cheap.
const QColor kBarFill(0x4a, 0x7d, 0xb8);
const QColor kBarOutline(0x2f, 0x5a, 0x8c);
constexpr double kBarWidth = 0.7;         // of one category
constexpr double kTickLabelPoints = 8.0;  // readable at the chart's designed 249 pixel height
constexpr int kTickLength = 4;            // pixels
constexpr double kValuePadding = 0.05;    // of the value span, above and below the bars
constexpr double kMinOutlinedBarPixels = 4.0;
constexpr double kMaxBarPixels = 60.0;
constexpr int kMaxRows = 32767;  // the row count is a 16-bit count
const QSize kDesignSize(745, 249);
const QMargins kFixedMargins(0, 8, 16, 0);  // pixels; left and bottom follow the labels
const QCPRange kPlaceholderKeys(0.5, 10.5);
const QCPRange kPlaceholderValues(0.0, 1.0);

const char* const kPlaceholderText = "No records decoded yet";

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
}

// The category ticker reads labels_, so the plot goes before the members do.
TrendChart::~TrendChart() {
    delete plot_;
}

void TrendChart::setUpPlot() {
    plot_->setObjectName(QStringLiteral("trendPlot"));
    plot_->setNotAntialiasedElements(QCP::aeAll);
    plot_->setNoAntialiasingOnDrag(true);
    plot_->setPlottingHint(QCP::phCacheLabels, true);
    plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot_->axisRect()->setRangeDrag(Qt::Horizontal);
    plot_->axisRect()->setRangeZoom(Qt::Horizontal);
    // Room above and to the right for the half labels that stand at the ends of the axes.
    plot_->axisRect()->setAutoMargins(QCP::msLeft | QCP::msBottom);
    plot_->axisRect()->setMargins(kFixedMargins);

    QCPAxis* keys = plot_->xAxis;
    QCPAxis* values = plot_->yAxis;
    categoryTicker_ = QSharedPointer<CategoryTicker>::create(keys, &labels_);
    keys->setTicker(categoryTicker_);
    keys->grid()->setVisible(false);
    keys->setTickLength(0, kTickLength);
    keys->setSubTickLength(0, kTickLength);
    values->setTicker(QSharedPointer<ValueTicker>::create());
    values->setSubTicks(false);

    bars_ = new TrendBars(keys, values);
    bars_->setWidth(kBarWidth);
    bars_->setPen(QPen(kBarOutline, 0));
    bars_->setBrush(kBarFill);
    bars_->setAntialiased(false);
    bars_->setAntialiasedFill(false);
    bars_->setSelectable(QCP::stNone);

    placeholder_ = new QCPItemText(plot_);
    placeholder_->position->setType(QCPItemPosition::ptAxisRectRatio);
    placeholder_->position->setCoords(0.5, 0.5);
    placeholder_->setText(QString::fromLatin1(kPlaceholderText));
    applyFont();
    applyPalette();
    keys->setTicks(false);
    values->setTicks(false);
    values->grid()->setVisible(false);
    keys->setRange(kPlaceholderKeys);
    values->setRange(kPlaceholderValues);

    connect(plot_, &QCustomPlot::beforeReplot, this, &TrendChart::styleBarsForWidth);
}

// The labels take the chart's font family, at a fixed size and weight that stay readable in
// the chart's small height whatever font its container carries.
void TrendChart::applyFont() {
    QFont labelFont = font();
    labelFont.setPointSizeF(kTickLabelPoints);
    labelFont.setWeight(QFont::Normal);
    labelFont.setItalic(false);
    plot_->xAxis->setTickLabelFont(labelFont);
    plot_->yAxis->setTickLabelFont(labelFont);
    placeholder_->setFont(labelFont);
}

// Background, axes, grid and the placeholder's note follow the window's palette, also when the
// desktop switches between light and dark.
void TrendChart::applyPalette() {
    const ChartColours colours = ChartColours::Of(palette());
    ApplyChartColours(*plot_, colours);
    placeholder_->setColor(colours.dimText);
}

void TrendChart::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && placeholder_ != nullptr) {
        applyFont();
        plot_->replot(QCustomPlot::rpQueuedReplot);
    }
    if (event->type() == QEvent::PaletteChange && placeholder_ != nullptr) {
        applyPalette();
        plot_->replot(QCustomPlot::rpQueuedReplot);
    }
}

QSize TrendChart::sizeHint() const {
    return kDesignSize;
}

void TrendChart::setChartType(int chartType) {
    chartType_ = chartType;
    markDirty();
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

void TrendChart::markDirty() {
    if (dirty_) {
        return;
    }
    dirty_ = true;
    QMetaObject::invokeMethod(this, &TrendChart::updateNow, Qt::QueuedConnection);
}

void TrendChart::updateNow() {
    if (!dirty_) {
        return;
    }
    dirty_ = false;
    rebuild();
    plot_->replot();
}

void TrendChart::rebuild() {
    QVector<QCPBarsData> bars;
    bars.reserve(rowCount());
    for (int i = 0; i < rowCount(); ++i) {
        bars.append(QCPBarsData(i + 1, values_[static_cast<std::size_t>(i)]));
    }
    bars_->data()->set(bars, true);
    applyAxisDivision();
    fitValueAxis();
    placeholder_->setVisible(!hasDrawing_);
    plot_->xAxis->setTicks(hasDrawing_);
    plot_->yAxis->setTicks(hasDrawing_);
    plot_->yAxis->grid()->setVisible(hasDrawing_);
    if (wholeRangePending_) {
        wholeRangePending_ = false;
        plot_->xAxis->setRange(wholeKeyRange());
    }
}

void TrendChart::applyAxisDivision() {
    categoryTicker_->setAutomatic(autoDivision_);
    categoryTicker_->setSpacing(ticksEvery_, labelsEvery_);
    categoryTicker_->setWholeSpan(std::max(rowCount(), 1));
    // With a fixed division the labels and the tick marks have their own spacings: the labels
    // sit on the main ticks (drawn without a mark), the marks are the sub ticks.
    QCPAxis* keys = plot_->xAxis;
    keys->setTickLength(0, autoDivision_ ? kTickLength : 0);
    keys->setSubTicks(!autoDivision_);
}

// Bars narrower than a few pixels are drawn without outline, else the outlines would turn
// 1000 bars into one dark block; a few bars on a wide chart keep a sensible width.
void TrendChart::styleBarsForWidth() {
    const double perCategory = plot_->axisRect()->width() / plot_->xAxis->range().size();
    const double barPixels = kBarWidth * perCategory;
    bars_->setPen(barPixels < kMinOutlinedBarPixels ? QPen(Qt::NoPen) : QPen(kBarOutline, 0));
    if (barPixels > kMaxBarPixels) {
        bars_->setWidthType(QCPBars::wtAbsolute);
        bars_->setWidth(kMaxBarPixels);
    } else {
        bars_->setWidthType(QCPBars::wtPlotCoords);
        bars_->setWidth(kBarWidth);
    }
}

void TrendChart::fitValueAxis() {
    if (!hasDrawing_) {
        plot_->yAxis->setRange(kPlaceholderValues);
        return;
    }
    // Bars grow from zero, so zero is always in view.
    double lowest = 0.0;
    double highest = 0.0;
    for (double value : values_) {
        if (std::isfinite(value)) {
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
        }
    }
    if (highest - lowest <= 0.0) {
        highest = 1.0;
    }
    const double padding = (highest - lowest) * kValuePadding;
    plot_->yAxis->setRange(lowest < 0.0 ? lowest - padding : lowest,
                           highest > 0.0 ? highest + padding : highest);
}

QCPRange TrendChart::wholeKeyRange() const {
    return hasDrawing_ ? QCPRange(0.5, std::max(rowCount(), 1) + 0.5) : kPlaceholderKeys;
}

void TrendChart::showWholeRange() {
    plot_->xAxis->setRange(wholeKeyRange());
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

int TrendChart::rowAt(const QPoint& pos) const {
    if (!hasDrawing_ || rowCount() == 0 || !plot_->axisRect()->rect().contains(pos)) {
        return 0;
    }
    const long row = std::lround(plot_->xAxis->pixelToCoord(pos.x()));
    return row >= 1 && row <= rowCount() ? static_cast<int>(row) : 0;
}

QPoint TrendChart::barCenter(int row) const {
    const double x = plot_->xAxis->coordToPixel(row);
    return {static_cast<int>(std::lround(x)), plot_->axisRect()->rect().center().y()};
}

QString TrendChart::barToolTip(int row) const {
    if (row < 1 || row > rowCount()) {
        return {};
    }
    QString text = QStringLiteral("Record ") + rowLabel(row) + QStringLiteral(": ") +
                   ChartNumberText(data(row));
    if (!unit_.isEmpty()) {
        text += QLatin1Char(' ') + unit_;
    }
    return text;
}

QSize TrendChart::pictureSize() {
    updateNow();
    return plot_->width() > 1 && plot_->height() > 1 ? plot_->size() : kDesignSize;
}

bool TrendChart::savePng(const QString& path) {
    const QSize size = pictureSize();
    return plot_->savePng(path, size.width(), size.height());
}

void TrendChart::copyToClipboard() {
    const QSize size = pictureSize();
    QApplication::clipboard()->setPixmap(plot_->toPixmap(size.width(), size.height()));
}

}  // namespace pelorin
