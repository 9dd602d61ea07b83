#include "history/HistoryWindow.h"

#include <qcustomplot.h>

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "QtText.h"
#include "history/HistoryLoader.h"
#include "history/HistoryPanel.h"
#include "history/PassListModel.h"

namespace pelorin {
namespace {

constexpr int kLiveIntervalMs = 1000;
constexpr double kKeyZoom = 0.5;       // plus halves the view, minus doubles it
constexpr double kKeyPan = 0.1;        // of the view's width per arrow key
constexpr double kPassMargin = 0.05;   // of a pass's length, either side when it is chosen
constexpr double kMinPassView = 60.0;  // seconds: a one-frame pass still shows a minute
constexpr QSize kDefaultSize(1000, 640);
// The panels' first quantities: bus voltage, temperature, charge current, current.
constexpr std::array<int, HistoryWindow::kMaxPanels> kDefaultChoices{4, 2, 6, 3};

struct RangeButton {
    const char* name;
    const char* caption;
    history::RangePreset preset;
};
constexpr RangeButton kRangeButtons[] = {
    {"HistoryRangeLastPass", "Last pass", history::RangePreset::LastPass},
    {"HistoryRangeDay", "24 hours", history::RangePreset::Day},
    {"HistoryRangeWeek", "7 days", history::RangePreset::Week},
    {"HistoryRangeMonth", "30 days", history::RangePreset::Month},
    {"HistoryRangeAll", "All", history::RangePreset::All},
};

}  // namespace

HistoryWindow::HistoryWindow(const QString& location, QWidget* parent)
    : QWidget(parent, Qt::Window),
      location_(location),
      loader_(new HistoryLoader(this)),
      passModel_(new PassListModel(this)),
      decimalSeparator_(QLocale().decimalPoint().toStdString()),
      live_(new QTimer(this)) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(tr("History"));
    setAccessibleName(tr("History"));
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("HistorySplitter"));
    splitter_->addWidget(makePassList());
    auto* charts = new QWidget(splitter_);
    auto* chartLayout = new QVBoxLayout(charts);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addWidget(makeControls());
    for (int k = 0; k < kMaxPanels; ++k) {
        auto* p = new HistoryPanel(k + 1, charts);
        panels_[static_cast<std::size_t>(k)] = p;
        p->setChoice(kDefaultChoices[static_cast<std::size_t>(k)]);
        p->plot()->installEventFilter(this);
        chartLayout->addWidget(p, 1);
        connect(p, &HistoryPanel::choiceChanged, this, [this, p] {
            if (!snapshotHoldsChartedValues()) {
                reload();
            } else if (snapshot_) {
                p->setSeries(*snapshot_, base_);
                p->draw(view_);
            }
        });
        connect(p, &HistoryPanel::zoomRequested, this, &HistoryWindow::zoomAt);
        connect(p, &HistoryPanel::panRequested, this, &HistoryWindow::panBy);
        connect(p, &HistoryPanel::wholeRangeRequested, this,
                [this] { showPreset(history::RangePreset::All); });
        connect(p, &HistoryPanel::hovered, this, &HistoryWindow::hoverAt);
        connect(p, &HistoryPanel::hoverLeft, this, &HistoryWindow::clearHover);
        connect(p, &HistoryPanel::rangeDragged, this,
                [this](double from, double to) { setView(history::DraggedSpan(from, to, all_)); });
    }
    hover_ = new QLabel(charts);
    hover_->setObjectName(QStringLiteral("HistoryHover"));
    hover_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    chartLayout->addWidget(hover_);
    status_ = new QLabel(charts);
    status_->setObjectName(QStringLiteral("HistoryStatus"));
    chartLayout->addWidget(status_);
    splitter_->addWidget(charts);
    splitter_->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(makeMenuBar());
    layout->addWidget(splitter_);
    resize(kDefaultSize);
    restoreChoices();

    connect(loader_, &HistoryLoader::loaded, this, &HistoryWindow::showSnapshot);
    connect(loader_, &HistoryLoader::polled, this, &HistoryWindow::onPolled);
    connect(loader_, &HistoryLoader::passRead, this, &HistoryWindow::openInMainWindow);
    connect(loader_, &HistoryLoader::exported, this, &HistoryWindow::onExported);
    connect(loader_, &HistoryLoader::failed, this, [this](const QString& message) {
        status_->setText(tr("The archive cannot be read: %1").arg(message));
    });
    live_->setInterval(kLiveIntervalMs);
    connect(live_, &QTimer::timeout, this, [this] {
        if (!loader_->busy()) {
            loader_->poll(location_);
        }
    });
    status_->setText(tr("Reading the archive..."));
    reload();
}

HistoryWindow::~HistoryWindow() = default;

QWidget* HistoryWindow::makePassList() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(tr("&Passes"), box);
    passes_ = new QTreeView(box);
    passes_->setObjectName(QStringLiteral("HistoryPasses"));
    passes_->setAccessibleName(tr("Passes"));
    passes_->setRootIsDecorated(false);
    passes_->setUniformRowHeights(true);
    passes_->setSelectionMode(QAbstractItemView::SingleSelection);
    passes_->setModel(passModel_);
    passes_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    title->setBuddy(passes_);
    openInMain_ = new QPushButton(tr("&Open in Main Window"), box);
    openInMain_->setObjectName(QStringLiteral("HistoryOpenInMain"));
    layout->addWidget(title);
    layout->addWidget(passes_, 1);
    layout->addWidget(openInMain_);
    // A selection, not the current row: the list's focus makes a row current on its own.
    connect(passes_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &HistoryWindow::onPassChosen);
    const auto open = [this] {
        if (const std::optional<PassSummary> pass = chosenPass()) {
            loader_->readPass(location_, pass->number);
        }
    };
    connect(passes_, &QTreeView::activated, this, open);
    connect(openInMain_, &QPushButton::clicked, this, open);
    return box;
}

QWidget* HistoryWindow::makeControls() {
    auto* bar = new QWidget(this);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    axis_ = new QComboBox(bar);
    axis_->setObjectName(QStringLiteral("HistoryAxis"));
    axis_->setAccessibleName(tr("Time axis"));
    axis_->addItems({tr("Reception time (UTC)"), tr("On-board time")});
    layout->addWidget(axis_);
    for (const RangeButton& r : kRangeButtons) {
        auto* button = new QPushButton(tr(r.caption), bar);
        button->setObjectName(QString::fromLatin1(r.name));
        connect(button, &QPushButton::clicked, this, [this, p = r.preset] { showPreset(p); });
        layout->addWidget(button);
    }
    layout->addStretch(1);
    auto* countLabel = new QLabel(tr("Pa&nels:"), bar);
    panelCount_ = new QSpinBox(bar);
    panelCount_->setObjectName(QStringLiteral("HistoryPanelCount"));
    panelCount_->setRange(1, kMaxPanels);
    panelCount_->setValue(kDefaultPanels);
    countLabel->setBuddy(panelCount_);
    layout->addWidget(countLabel);
    layout->addWidget(panelCount_);
    connect(axis_, &QComboBox::currentIndexChanged, this, [this](int index) {
        base_ = index == 0 ? history::TimeBase::Reception : history::TimeBase::Onboard;
        if (snapshot_) {
            const std::optional<history::TimeSpan> all = DataExtent(snapshot_->data, base_);
            all_ = all.value_or(history::TimeSpan{});
            setSeries();
            showPreset(history::RangePreset::All);
        }
    });
    connect(panelCount_, &QSpinBox::valueChanged, this, &HistoryWindow::showPanels);
    return bar;
}

int HistoryWindow::panelCount() const {
    return panelCount_->value();
}

void HistoryWindow::showPanels(int count) {
    for (int k = 0; k < kMaxPanels; ++k) {
        panels_[static_cast<std::size_t>(k)]->setVisible(k < count);
    }
    if (!snapshotHoldsChartedValues()) {
        reload();
    } else if (snapshot_) {
        setSeries();
    }
    draw();
}

void HistoryWindow::reload() {
    loader_->load(location_, chartedValues(), base_);
}

// The values of the panels shown, each once.
std::vector<int> HistoryWindow::chartedValues() const {
    std::vector<int> values;
    for (int k = 0; k < panelCount(); ++k) {
        const std::vector<int>& more = panels_[static_cast<std::size_t>(k)]->valueIndices();
        values.insert(values.end(), more.begin(), more.end());
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

bool HistoryWindow::snapshotHoldsChartedValues() const {
    if (!snapshot_) {
        return true;  // the first reading is under way
    }
    const std::vector<int> wanted = chartedValues();
    return std::all_of(wanted.begin(), wanted.end(),
                       [this](int v) { return snapshot_->data.column(v) != nullptr; });
}

void HistoryWindow::showSnapshot(std::shared_ptr<const HistorySnapshot> snapshot) {
    const bool first = !snapshot_;
    const bool newest = !first && history::ShowsNewest(view_, all_);
    snapshot_ = std::move(snapshot);
    all_ = history::DataExtent(snapshot_->data, base_).value_or(history::TimeSpan{});
    fillPasses();
    setSeries();
    QString text = tr("%1 frames in %2 passes")
                       .arg(IntegerText(static_cast<std::int64_t>(snapshot_->data.size())),
                            IntegerText(static_cast<std::int64_t>(snapshot_->data.passes.size())));
    if (snapshot_->data.untimed > 0) {
        text += tr("; %1 without a reception time show on the on-board axis only")
                    .arg(IntegerText(snapshot_->data.untimed));
    }
    status_->setText(text);
    if (first) {
        showPreset(preset_);
    } else {
        setView(newest ? history::FollowNewest(view_, all_) : view_);
    }
    emit snapshotShown();
}

void HistoryWindow::fillPasses() {
    const std::optional<PassSummary> chosen = chosenPass();
    const QSignalBlocker block(passes_->selectionModel());
    passModel_->setSnapshot(snapshot_);
    if (const std::optional<int> row = chosen ? passModel_->rowOf(chosen->number) : std::nullopt) {
        passes_->setCurrentIndex(passModel_->index(*row, 0));
    }
}

std::optional<PassSummary> HistoryWindow::chosenPass() const {
    return passModel_->passAt(passes_->currentIndex().row());
}

void HistoryWindow::onPassChosen() {
    const std::optional<PassSummary> pass = chosenPass();
    if (!pass) {
        return;
    }
    const std::optional<history::TimeSpan> extent =
        history::PassExtent(snapshot_->data, base_, static_cast<std::uint32_t>(pass->number - 1));
    if (!extent) {
        return;  // an untimed pass on the reception axis
    }
    const double margin = std::max(extent->width() * kPassMargin, kMinPassView / 2);
    setView({extent->from - margin, extent->to + margin});
}

void HistoryWindow::setSeries() {
    // Hidden panels take none, to spare the memory of a million frames' series.
    for (int k = 0; k < panelCount(); ++k) {
        panels_[static_cast<std::size_t>(k)]->setSeries(*snapshot_, base_);
    }
}

void HistoryWindow::showPreset(history::RangePreset preset) {
    preset_ = preset;
    std::optional<history::TimeSpan> lastPass;
    if (snapshot_ && !snapshot_->data.pass.empty()) {
        // The pass of the newest frame on this axis.
        lastPass = history::PassExtent(snapshot_->data, base_, snapshot_->data.pass.back());
    }
    setView(history::PresetView(preset, all_, lastPass));
}

void HistoryWindow::setLimits(const LimitTable& limits) {
    for (HistoryPanel* p : panels_) {
        p->setLimits(limits);
    }
    draw();
}

void HistoryWindow::zoomAt(double anchor, double factor) {
    setView(history::Zoomed(view_, anchor, factor, all_));
}

void HistoryWindow::panBy(double fraction) {
    setView(history::Panned(view_, fraction, all_));
}

void HistoryWindow::setView(history::TimeSpan view) {
    view_ = view;
    draw();
}

void HistoryWindow::draw() {
    if (!snapshot_) {
        return;
    }
    for (HistoryPanel* p : panels_) {
        if (p->isVisibleTo(this)) {
            p->draw(view_);
        }
    }
}

void HistoryWindow::onPolled(qint64 newestFrame) {
    if (snapshot_ && newestFrame != snapshot_->data.newestFrame) {
        loader_->refresh(location_, chartedValues(), base_);
    }
}

bool HistoryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return event->isAccepted();
    }
    return QWidget::eventFilter(watched, event);
}

void HistoryWindow::keyPressEvent(QKeyEvent* event) {
    const double middle = (view_.from + view_.to) / 2;
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoomAt(middle, kKeyZoom);
            break;
        case Qt::Key_Minus:
            zoomAt(middle, 1 / kKeyZoom);
            break;
        case Qt::Key_Left:
            panBy(-kKeyPan);
            break;
        case Qt::Key_Right:
            panBy(kKeyPan);
            break;
        case Qt::Key_Home:
            showPreset(history::RangePreset::All);
            break;
        default:
            event->ignore();
            return;
    }
    event->accept();
}

void HistoryWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    live_->start();
    draw();
}

void HistoryWindow::hideEvent(QHideEvent* event) {
    live_->stop();
    QWidget::hideEvent(event);
}

void HistoryWindow::closeEvent(QCloseEvent* event) {
    saveChoices();
    QWidget::closeEvent(event);
}

}  // namespace pelorin
