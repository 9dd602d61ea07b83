// The History window's cross-hair: the frame nearest the pointer, in every panel at once.
#include <QLabel>
#include <algorithm>

#include "history/HistoryLoader.h"
#include "history/HistoryPanel.h"
#include "history/HistoryWindow.h"
#include "history/HoverText.h"

namespace pelorin {

void HistoryWindow::hoverAt(double time) {
    if (!snapshot_) {
        return;
    }
    const history::SeriesAxis& axis = snapshot_->data.axis(base_);
    if (axis.x.empty()) {
        return;
    }
    const auto after = std::lower_bound(axis.x.begin(), axis.x.end(), time);
    auto nearest = after == axis.x.end() ? after - 1 : after;
    if (after != axis.x.begin() && after != axis.x.end() && time - *(after - 1) < *after - time) {
        nearest = after - 1;
    }
    const auto point = static_cast<std::size_t>(nearest - axis.x.begin());
    const std::size_t frame = axis.frames[point];
    const history::HistoryData& data = snapshot_->data;
    for (int k = 0; k < panelCount(); ++k) {
        HistoryPanel* p = panels_[static_cast<std::size_t>(k)];
        p->showHover(*nearest,
                     history::HoverValuesText(data, frame, p->valueIndices(), decimalSeparator_));
    }
    hover_->setText(history::HoverFrameText(data, frame, decimalSeparator_));
}

void HistoryWindow::clearHover() {
    for (HistoryPanel* p : panels_) {
        p->showHover(std::nullopt, {});
    }
    hover_->clear();
}

}  // namespace pelorin
