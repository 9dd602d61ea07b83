#include "TimeTicker.h"

#include <QFontMetrics>
#include <algorithm>

namespace pelorin {
namespace {

constexpr int kMaxTicks = 8;
// The widest label the axis writes, with a blank of two digits on either side.
const QString kWidestLabel = QStringLiteral("00000d 00:00");
const QString kLabelGap = QStringLiteral("0000");

}  // namespace

TimeTicker::TimeTicker(const QCPAxis* axis) : axis_(axis) {}

int TimeTicker::wantedTicks() const {
    if (axis_ == nullptr || axis_->axisRect() == nullptr) {
        return kMaxTicks;
    }
    const QFontMetrics metrics(axis_->tickLabelFont());
    const int pitch = metrics.horizontalAdvance(kWidestLabel + kLabelGap);
    return std::clamp(axis_->axisRect()->width() / std::max(pitch, 1), 1, kMaxTicks);
}

void TimeTicker::generate(const QCPRange& range, const QLocale& /*locale*/, QChar /*formatChar*/,
                          int /*precision*/, QVector<double>& ticks, QVector<double>* subTicks,
                          QVector<QString>* tickLabels) {
    ticks.clear();
    if (subTicks != nullptr) {
        subTicks->clear();
    }
    if (tickLabels != nullptr) {
        tickLabels->clear();
    }
    if (!timeAxis_) {
        return;
    }
    for (double x : timeAxis_->ticks(range.lower, range.upper, wantedTicks())) {
        ticks.append(x);
        if (tickLabels != nullptr) {
            tickLabels->append(QString::fromStdString(timeAxis_->labelAt(x)));
        }
    }
}

}  // namespace pelorin
