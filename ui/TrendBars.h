#pragma once

#include <qcustomplot.h>

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
    void drawSeparateBars(QCPPainter* painter, QCPBarsDataContainer::const_iterator begin,
                          QCPBarsDataContainer::const_iterator end);
    void drawPixelColumns(QCPPainter* painter, QCPBarsDataContainer::const_iterator begin,
                          QCPBarsDataContainer::const_iterator end);
};

}  // namespace pelorin
