#pragma once

#include <qcustomplot.h>

#include <vector>

#include "history/Decimation.h"
#include "history/FillSpans.h"

namespace pelorin {

// The filled range between a quantity's minimum and maximum, painted one vertical line a pixel
// column. The plot's own fill between two graphs scan-converts one polygon whose edges cross
// every row many times when a view holds months of passes; this costs only the width.
class RangeFill : public QCPAbstractPlottable {
  public:
    RangeFill(QCPAxis* keyAxis, QCPAxis* valueAxis);

    // The edges as decimated, at the same times, with NaN where the range breaks.
    void setEdges(const history::DrawnPoints& lower, const history::DrawnPoints& upper);
    void setColour(const QColor& colour) { colour_ = colour; }

    double selectTest(const QPointF& pos, bool onlySelectable,
                      QVariant* details = nullptr) const override;
    QCPRange getKeyRange(bool& foundRange,
                         QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;

  protected:
    void draw(QCPPainter* painter) override;
    void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override;

  private:
    std::vector<double> x_;
    std::vector<double> lower_;
    std::vector<double> upper_;
    QColor colour_;
    // Reused from one redraw to the next.
    std::vector<double> pixelsX_;
    std::vector<double> pixelsLower_;
    std::vector<double> pixelsUpper_;
    std::vector<history::FillSpan> spans_;
};

}  // namespace pelorin
