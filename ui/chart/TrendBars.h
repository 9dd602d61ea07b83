#pragma once

#include <qcustomplot.h>
#include <optional>

namespace pelorin {

// QCustomPlot's bars, drawn faster when they are narrower than a couple of pixels (1000 bars
// on a chart some 700 pixels wide): then every pixel column gets one vertical line that spans
// all bars falling into it, which is exactly what the single bars would cover, in a fraction
// of the painting time. Wider bars go to the painter as one list of rectangles.
class TrendBars : public QCPBars {
    Q_OBJECT
  public:
    TrendBars(QCPAxis* keyAxis, QCPAxis* valueAxis);

  protected:
    void draw(QCPPainter* painter) override;

  private:
    // The bar's rectangle in pixels, cut a little outside the plotting area; none for a bar
    // without a finite key and value.
    std::optional<QRectF> barPixels(const QCPBarsData& bar) const;
    void drawSeparateBars(QCPPainter* painter, QCPBarsDataContainer::const_iterator begin,
                          QCPBarsDataContainer::const_iterator end) const;
    void drawPixelColumns(QCPPainter* painter, QCPBarsDataContainer::const_iterator begin,
                          QCPBarsDataContainer::const_iterator end) const;
};

}  // namespace pelorin
