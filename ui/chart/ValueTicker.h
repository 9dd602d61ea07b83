#pragma once

#include <qcustomplot.h>

namespace pelorin {

// Ticker of the chart's value axis: QCustomPlot's own tick steps, labelled with the project's
// number text instead of Qt's number formatting.
class ValueTicker : public QCPAxisTicker {
  public:
    ValueTicker() = default;

  protected:
    double getTickStep(const QCPRange& range) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override;

  private:
    double lastStep_ = 1.0;
};

}  // namespace pelorin
