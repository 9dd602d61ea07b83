#pragma once

#include <qcustomplot.h>

namespace pelorin {

// Ticker of the chart's value axis: steps of 1, 2, 2.5 or 5 times a power of ten (whole
// numbers only for a whole-number quantity), labelled with the project's number text instead
// of Qt's number formatting.
class ValueTicker : public QCPAxisTicker {
  public:
    ValueTicker() = default;

    void setWholeNumbers(bool wholeNumbers) { wholeNumbers_ = wholeNumbers; }

  protected:
    double getTickStep(const QCPRange& range) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override;

  private:
    double lastStep_ = 1.0;
    bool wholeNumbers_ = false;
};

}  // namespace pelorin
