// The History window's remembered choices: panels, quantities, axis, range, splitter and size.
#include <QComboBox>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <algorithm>

#include "history/HistoryPanel.h"
#include "history/HistoryWindow.h"

namespace pelorin {
namespace {

// The settings keys of the window's remembered choices.
const QString kSettingsGroup = QStringLiteral("History");
const QString kPanelsKey = QStringLiteral("panels");
const QString kQuantityKey = QStringLiteral("quantity%1");
const QString kAxisKey = QStringLiteral("axis");
const QString kRangeKey = QStringLiteral("range");
const QString kSplitterKey = QStringLiteral("splitter");
const QString kGeometryKey = QStringLiteral("geometry");

}  // namespace

void HistoryWindow::restoreChoices() {
    QSettings settings;
    settings.beginGroup(kSettingsGroup);
    const int count = std::clamp(settings.value(kPanelsKey, kDefaultPanels).toInt(), 1, kMaxPanels);
    for (int k = 0; k < kMaxPanels; ++k) {
        HistoryPanel* p = panels_[static_cast<std::size_t>(k)];
        const int choice = settings.value(kQuantityKey.arg(k + 1), p->choice()).toInt();
        if (choice >= 0 && choice < p->chooser()->count()) {
            p->setChoice(choice);
        }
    }
    panelCount_->setValue(count);
    showPanels(count);
    axis_->setCurrentIndex(std::clamp(settings.value(kAxisKey, 0).toInt(), 0, 1));
    const int range = settings.value(kRangeKey, static_cast<int>(preset_)).toInt();
    if (range >= 0 && range <= static_cast<int>(history::RangePreset::All)) {
        preset_ = static_cast<history::RangePreset>(range);
    }
    splitter_->restoreState(settings.value(kSplitterKey).toByteArray());
    if (settings.contains(kGeometryKey)) {
        restoreGeometry(settings.value(kGeometryKey).toByteArray());
    }
}

void HistoryWindow::saveChoices() const {
    QSettings settings;
    settings.beginGroup(kSettingsGroup);
    settings.setValue(kPanelsKey, panelCount());
    for (int k = 0; k < kMaxPanels; ++k) {
        settings.setValue(kQuantityKey.arg(k + 1), panels_[static_cast<std::size_t>(k)]->choice());
    }
    settings.setValue(kAxisKey, axis_->currentIndex());
    settings.setValue(kRangeKey, static_cast<int>(preset_));
    settings.setValue(kSplitterKey, splitter_->saveState());
    settings.setValue(kGeometryKey, saveGeometry());
}

}  // namespace pelorin
