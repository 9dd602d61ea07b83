#include "LimitLines.h"

#include <qcustomplot.h>

namespace pelorin {
namespace {

constexpr double kLineWidth = 1.5;

QCPItemStraightLine* NewLine(QCustomPlot& plot) {
    auto* line = new QCPItemStraightLine(&plot);
    line->setSelectable(false);
    line->setVisible(false);
    return line;
}

}  // namespace

LimitLines::LimitLines(QCustomPlot& plot) : low_(NewLine(plot)), high_(NewLine(plot)) {}

void LimitLines::setColor(const QColor& color) {
    const QPen pen(color, kLineWidth, Qt::DashLine);
    low_->setPen(pen);
    high_->setPen(pen);
}

void LimitLines::show(const ValueLimits& limits) {
    Place(*low_, limits.low);
    Place(*high_, limits.high);
}

void LimitLines::Place(QCPItemStraightLine& line, const std::optional<double>& value) {
    line.setVisible(value.has_value());
    if (value) {
        line.point1->setCoords(0, *value);
        line.point2->setCoords(1, *value);
    }
}

std::optional<double> LimitLines::DrawnValue(const QCPItemStraightLine& line) {
    return line.visible() ? std::optional<double>(line.point1->coords().y()) : std::nullopt;
}

std::optional<double> LimitLines::low() const {
    return DrawnValue(*low_);
}

std::optional<double> LimitLines::high() const {
    return DrawnValue(*high_);
}

}  // namespace pelorin
