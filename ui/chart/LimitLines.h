#pragma once

#include <QColor>
#include <optional>

#include "pelorin/limits.h"

class QCPItemStraightLine;
class QCustomPlot;

namespace pelorin {

// The low and high limits of the charted value drawn across the plot as dashed lines in the
// out-of-limits colour; a bound that is not set draws no line.
class LimitLines {
  public:
    explicit LimitLines(QCustomPlot& plot);

    void setColor(const QColor& color);
    void show(const ValueLimits& limits);

    // The drawn value of each line, nothing while it is hidden.
    std::optional<double> low() const;
    std::optional<double> high() const;

  private:
    static void Place(QCPItemStraightLine& line, const std::optional<double>& value);
    static std::optional<double> DrawnValue(const QCPItemStraightLine& line);

    QCPItemStraightLine* low_ = nullptr;
    QCPItemStraightLine* high_ = nullptr;
};

}  // namespace pelorin
