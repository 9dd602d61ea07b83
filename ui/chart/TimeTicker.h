#pragma once

#include <qcustomplot.h>
#include <memory>

#include "TimeAxis.h"

namespace pelorin {

// Ticker of the on-board time axis: ticks at nice elapsed-time steps inside the segments of a
// TimeAxis, labelled "40d 13:03", as many as fit side by side.
class TimeTicker : public QCPAxisTicker {
  public:
    // `axis` gives the pixel width and label font; it must outlive the ticker's use.
    explicit TimeTicker(const QCPAxis* axis);

    void setTimeAxis(std::shared_ptr<const TimeAxis> timeAxis) { timeAxis_ = std::move(timeAxis); }

    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks,
                  QVector<QString>* tickLabels) override;

  private:
    int wantedTicks() const;

    const QCPAxis* axis_;
    std::shared_ptr<const TimeAxis> timeAxis_;
};

}  // namespace pelorin
