#include "history/HistoryPanel.h"

#include <qcustomplot.h>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRubberBand>
#include <QTimeZone>
#include <QVBoxLayout>
#include <cmath>

#include "QtText.h"
#include "chart/ChartColors.h"
#include "history/HistoryLoader.h"
#include "history/QuantityChoices.h"
#include "history/RangeFill.h"

namespace pelorin {
namespace {

constexpr double kWheelZoom = 0.8;     // per notch, towards the pointer
constexpr int kWheelNotch = 120;       // angle delta of one notch
constexpr double kValueMargin = 0.05;  // of the value span, above and below
constexpr int kPlotMinimumHeight = 110;
constexpr std::size_t kMinimum = 0;  // graph order of a quantity's four statistics
constexpr std::size_t kMaximum = 1;

// The fill between minimum and maximum, then average and actual as lines.
const QColor kRangeFill(0x4a, 0x7d, 0xb8, 0x50);
const QColor kAverageLine(0x2f, 0x5a, 0x8c);
const QColor kActualLine(0xd0, 0x80, 0x20);
const QColor kLimitsBand(0x40, 0xa0, 0x40, 0x30);
constexpr double kOutsideDot = 5.0;
constexpr std::size_t kSmoothPointsPerColumn = 1;
const QString kOverlayLayer = QStringLiteral("overlay");

// `over` drawn on `under` with its alpha, as one opaque colour.
QColor Mixed(const QColor& over, const QColor& under) {
    const double a = over.alphaF();
    const auto mix = [a](double top, double bottom) { return a * top + (1.0 - a) * bottom; };
    return QColor::fromRgbF(static_cast<float>(mix(over.redF(), under.redF())),
                            static_cast<float>(mix(over.greenF(), under.greenF())),
                            static_cast<float>(mix(over.blueF(), under.blueF())));
}

// Tick labels as fine as a view of `seconds` needs: years, months, days, minutes or seconds.
QString DateTimeFormat(double seconds) {
    constexpr double kDay = 86400.0;
    if (seconds > 3 * 365 * kDay) {
        return QStringLiteral("yyyy");
    }
    if (seconds > 90 * kDay) {
        return QStringLiteral("MMM\nyyyy");
    }
    if (seconds > 3 * kDay) {
        return QStringLiteral("d MMM\nyyyy");
    }
    if (seconds > 600.0) {
        return QStringLiteral("d MMM\nhh:mm");
    }
    return QStringLiteral("hh:mm:ss");
}

QVector<double> ToVector(const std::vector<double>& values) {
    return QVector<double>(values.begin(), values.end());
}

}  // namespace

HistoryPanel::HistoryPanel(int number, QWidget* parent)
    : QWidget(parent),
      chooser_(new QComboBox(this)),
      hoverValue_(new QLabel(this)),
      plot_(new QCustomPlot(this)),
      rubberBand_(new QRubberBand(QRubberBand::Rectangle, plot_)) {
    const QString suffix = IntegerText(number);
    setObjectName(QStringLiteral("HistoryPanel") + suffix);
    chooser_->setObjectName(QStringLiteral("HistoryQuantity") + suffix);
    chooser_->setAccessibleName(tr("Quantity of panel %1").arg(suffix));
    for (const history::QuantityChoice& c : history::QuantityChoices()) {
        chooser_->addItem(QString::fromStdString(c.name));
    }
    plot_->setObjectName(QStringLiteral("HistoryPlot") + suffix);
    plot_->setAccessibleName(tr("Chart of panel %1").arg(suffix));
    plot_->setMinimumHeight(kPlotMinimumHeight);
    plot_->setFocusPolicy(Qt::ClickFocus);
    plot_->setMouseTracking(true);  // the cross-hair follows the pointer
    plot_->installEventFilter(this);
    // The cross-hair on the plot's topmost layer, which is buffered: redrawn alone as the
    // pointer moves.
    plot_->layer(kOverlayLayer)->setMode(QCPLayer::lmBuffered);
    hoverValue_->setObjectName(QStringLiteral("HistoryHoverValue") + suffix);
    hoverValue_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* top = new QHBoxLayout;
    top->addWidget(chooser_);
    top->addWidget(hoverValue_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(top);
    layout->addWidget(plot_, 1);
    connect(chooser_, &QComboBox::currentIndexChanged, this, &HistoryPanel::choiceChanged);
}

int HistoryPanel::choice() const {
    return chooser_->currentIndex();
}

void HistoryPanel::setChoice(int choice) {
    chooser_->setCurrentIndex(choice);
}

const std::vector<int>& HistoryPanel::valueIndices() const {
    return history::QuantityChoices()[static_cast<std::size_t>(std::max(choice(), 0))].valueIndices;
}

void HistoryPanel::setSeries(const HistorySnapshot& snapshot, history::TimeBase base) {
    const history::QuantityChoice& c =
        history::QuantityChoices()[static_cast<std::size_t>(std::max(choice(), 0))];
    series_.clear();
    valueIndices_ = c.valueIndices;
    for (int v : c.valueIndices) {
        series_.push_back(history::SeriesOf(snapshot.data, base, v));
    }
    drawn_.assign(series_.size(), {});
    makeGraphs(series_.size());
    styleAxes(base);
    plot_->yAxis->setLabel(QString::fromStdString(c.unit));
}

void HistoryPanel::makeGraphs(std::size_t count) {
    plot_->clearGraphs();
    plot_->clearItems();
    if (rangeFill_ != nullptr) {
        plot_->removePlottable(rangeFill_);
        rangeFill_ = nullptr;
    }
    graphs_.clear();
    if (count > 1) {
        rangeFill_ = new RangeFill(plot_->xAxis, plot_->yAxis);  // under the lines
    }
    for (std::size_t k = 0; k < count; ++k) {
        graphs_.push_back(plot_->addGraph());
        // The points are decimated already; the plot's own sampling would drop whole columns
        // among the breaks between passes.
        graphs_.back()->setAdaptiveSampling(false);
    }
    crossHair_ = new QCPItemStraightLine(plot_);
    crossHair_->setLayer(kOverlayLayer);
    crossHair_->setPen(QPen(ChartColors::FromPalette(palette()).text, 0, Qt::DashLine));
    band_ = new QCPItemRect(plot_);
    band_->setPen(Qt::NoPen);
    band_->setBrush(kLimitsBand);
    band_->setLayer(QStringLiteral("background"));
    outside_ = plot_->addGraph();
    outside_->setLineStyle(QCPGraph::lsNone);
    outside_->setScatterStyle(QCPScatterStyle(
        QCPScatterStyle::ssDisc, ChartColors::FromPalette(palette()).outOfLimits, kOutsideDot));
    placeCrossHair();
    if (count == 1) {
        graphs_[0]->setPen(QPen(kAverageLine, 1.0));
        return;
    }
    // Minimum to maximum as a filled range, average and actual as lines over it. The fill is
    // opaque, its colour mixed with the background beforehand: blending a large area on every
    // redraw costs more than all the lines.
    const QColor fill = Mixed(kRangeFill, ChartColors::FromPalette(palette()).background);
    graphs_[kMinimum]->setPen(QPen(fill, 0));
    graphs_[kMaximum]->setPen(QPen(fill, 0));
    rangeFill_->setColour(fill);
    graphs_[2]->setPen(QPen(kAverageLine, 1.0));
    graphs_[3]->setPen(QPen(kActualLine, 1.0));
}

void HistoryPanel::styleAxes(history::TimeBase base) {
    const ChartColors colors = ChartColors::FromPalette(palette());
    plot_->setBackground(colors.background);
    for (QCPAxis* axis : {plot_->xAxis, plot_->yAxis}) {
        axis->setBasePen(QPen(colors.text));
        axis->setTickPen(QPen(colors.text));
        axis->setSubTickPen(QPen(colors.text));
        axis->setTickLabelColor(colors.text);
        axis->setLabelColor(colors.text);
        axis->grid()->setPen(QPen(colors.grid, 0, Qt::DotLine));
    }
    if (base == history::TimeBase::Reception) {
        auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
        ticker->setDateTimeFormat(QStringLiteral("d MMM\nhh:mm"));
        ticker->setTimeZone(QTimeZone::systemTimeZone());
        plot_->xAxis->setTicker(ticker);
        plot_->xAxis->setLabel(tr("Reception time, local (%1)")
                                   .arg(QTimeZone::systemTimeZone().displayName(
                                       QDateTime::currentDateTime(), QTimeZone::ShortName)));
    } else {
        plot_->xAxis->setTicker(QSharedPointer<QCPAxisTicker>::create());
        plot_->xAxis->setLabel(tr("On-board time (s)"));
    }
}

void HistoryPanel::draw(history::TimeSpan view) {
    const int columns = std::max(plot_->axisRect()->width(), 1);
    std::size_t points = 0;
    for (std::size_t k = 0; k < series_.size(); ++k) {
        history::Decimate(*series_[k], {view.from, view.to, columns}, drawn_[k], pickOf(k));
        graphs_[k]->setData(ToVector(drawn_[k].x), ToVector(drawn_[k].y), true);
        points = std::max(points, drawn_[k].x.size());
    }
    if (rangeFill_ != nullptr) {
        rangeFill_->setEdges(drawn_[kMinimum], drawn_[kMaximum]);
    }
    // Smoothing lines that zigzag within each pixel column shows nothing and costs the most
    // of a redraw.
    const bool dense = points > static_cast<std::size_t>(columns) * kSmoothPointsPerColumn;
    plot_->setNotAntialiasedElements(dense ? QCP::aePlottables | QCP::aeFills : QCP::aeNone);
    plot_->xAxis->setRange(view.from, view.to);
    if (auto* ticker = dynamic_cast<QCPAxisTickerDateTime*>(plot_->xAxis->ticker().data())) {
        ticker->setDateTimeFormat(DateTimeFormat(view.width()));
    }
    fitValueAxis();
    drawLimits(view);
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

// A quantity's minimum and maximum are the edges of a filled range: their lowest and highest
// points alone make it.
history::ColumnPick HistoryPanel::pickOf(std::size_t graph) const {
    if (series_.size() == 1) {
        return history::ColumnPick::Outline;
    }
    return graph == kMinimum   ? history::ColumnPick::Lowest
           : graph == kMaximum ? history::ColumnPick::Highest
                               : history::ColumnPick::Outline;
}

void HistoryPanel::fitValueAxis() {
    double low = INFINITY;
    double high = -INFINITY;
    for (const history::DrawnPoints& d : drawn_) {
        for (double y : d.y) {
            if (std::isfinite(y)) {
                low = std::min(low, y);
                high = std::max(high, y);
            }
        }
    }
    if (!std::isfinite(low)) {
        return;
    }
    const double margin = std::max((high - low) * kValueMargin, 0.5);
    plot_->yAxis->setRange(low - margin, high + margin);
}

void HistoryPanel::drawLimits(history::TimeSpan view) {
    if (outside_ == nullptr) {
        return;
    }
    // The limits file names the values 0..34; the last value has none.
    const auto limitsOf = [this](int valueIndex) {
        const auto at = static_cast<std::size_t>(valueIndex);
        return at < limits_.size() ? limits_[at] : ValueLimits{};
    };
    QVector<double> x;
    QVector<double> y;
    for (std::size_t k = 0; k < drawn_.size(); ++k) {
        const ValueLimits limits = limitsOf(valueIndices_[k]);
        for (std::size_t i = 0; i < drawn_[k].y.size(); ++i) {
            const double value = drawn_[k].y[i];
            if (!std::isnan(value) && IsOutOfLimits(value, limits)) {
                x.push_back(drawn_[k].x[i]);
                y.push_back(value);
            }
        }
    }
    outside_->setData(x, y);
    // The band of the actual value, the last of a quantity's four.
    const ValueLimits shown = limitsOf(valueIndices_.back());
    band_->setVisible(shown.low || shown.high);
    const QCPRange values = plot_->yAxis->range();
    band_->topLeft->setCoords(view.from, shown.high.value_or(values.upper));
    band_->bottomRight->setCoords(view.to, shown.low.value_or(values.lower));
}

bool HistoryPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != plot_) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::Wheel: {
            const auto* wheel = static_cast<QWheelEvent*>(event);
            const double notches = wheel->angleDelta().y() / static_cast<double>(kWheelNotch);
            emit zoomRequested(plot_->xAxis->pixelToCoord(wheel->position().x()),
                               std::pow(kWheelZoom, notches));
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            mouse(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::Leave:
            emit hoverLeft();
            return QWidget::eventFilter(watched, event);
        case QEvent::MouseButtonDblClick:
            emit wholeRangeRequested();
            return true;
        default:
            return QWidget::eventFilter(watched, event);
    }
}

// A drag pans; with Shift it draws a rectangle whose width the view zooms to; a move without a
// button moves the cross-hair.
void HistoryPanel::mouse(QMouseEvent* event) {
    const double x = event->position().x();
    const QCPRange rows = plot_->yAxis->range();
    const auto top = static_cast<int>(plot_->yAxis->coordToPixel(rows.upper));
    const auto bottom = static_cast<int>(plot_->yAxis->coordToPixel(rows.lower));
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            (event->modifiers() & Qt::ShiftModifier ? rectangleFrom_ : dragFrom_) = x;
            break;
        case QEvent::MouseMove:
            if (rectangleFrom_ >= 0.0) {
                rubberBand_->setGeometry(QRect(QPoint(static_cast<int>(rectangleFrom_), top),
                                               QPoint(static_cast<int>(x), bottom))
                                             .normalized());
                rubberBand_->show();
            } else if (dragFrom_ >= 0.0) {
                const double width = std::max(plot_->axisRect()->width(), 1);
                emit panRequested((dragFrom_ - x) / width);
                dragFrom_ = x;
            } else {
                emit hovered(plot_->xAxis->pixelToCoord(x));
            }
            break;
        case QEvent::MouseButtonRelease:
            if (rectangleFrom_ >= 0.0) {
                rubberBand_->hide();
                emit rangeDragged(plot_->xAxis->pixelToCoord(rectangleFrom_),
                                  plot_->xAxis->pixelToCoord(x));
            }
            dragFrom_ = -1.0;
            rectangleFrom_ = -1.0;
            break;
        default:
            break;
    }
}

void HistoryPanel::showHover(std::optional<double> time, const QString& values) {
    hoverValue_->setText(values);
    hoverTime_ = time;
    placeCrossHair();
    plot_->layer(kOverlayLayer)->replot();
}

// Also after the chart's items were made anew for new data.
void HistoryPanel::placeCrossHair() {
    if (crossHair_ == nullptr) {
        return;
    }
    crossHair_->setVisible(hoverTime_.has_value());
    if (hoverTime_) {
        crossHair_->point1->setCoords(*hoverTime_, 0.0);
        crossHair_->point2->setCoords(*hoverTime_, 1.0);
    }
}

}  // namespace pelorin
