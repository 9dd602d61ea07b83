#pragma once

#include <qcustomplot.h>
#include <optional>
#include <vector>

namespace pelorin {

// QCustomPlot's bars, drawn faster when they are narrower than a couple of pixels (1000 bars
// on a chart some 700 pixels wide): then every pixel column gets one vertical line that spans
// all bars falling into it, which is exactly what the single bars would cover, in a fraction
// of the painting time. Wider bars go to the painter as one list of rectangles.
// A bar may stand on its own base instead of zero (a minimum-to-maximum range), flagged bars
// are filled with a brush of their own, and one bar may be outlined as marked.
class TrendBars : public QCPBars {
    Q_OBJECT
  public:
    TrendBars(QCPAxis* keyAxis, QCPAxis* valueAxis);

    // The base of each bar in data order; bars without one (an empty list) stand on zero.
    void setBases(std::vector<double> bases);
    // Which bars, in data order, take the flagged brush; none when the list is empty.
    void setFlagged(std::vector<char> flagged, const QBrush& brush);
    // The bar at `at` in data order gets an outline with `pen` around it, over its neighbours;
    // none for -1.
    void setMarked(int at, const QPen& pen);
    int marked() const { return marked_; }
    const std::vector<double>& bases() const { return bases_; }
    const std::vector<char>& flagged() const { return flagged_; }
    QBrush flaggedBrush() const { return flaggedBrush_; }

  protected:
    void draw(QCPPainter* painter) override;

  private:
    using Iterator = QCPBarsDataContainer::const_iterator;

    double baseOf(Iterator bar) const;
    bool isFlagged(Iterator bar) const;
    // The bar's rectangle in pixels, cut a little outside the plotting area; none for a bar
    // without a finite key, value and base.
    std::optional<QRectF> barPixels(Iterator bar) const;
    void drawSeparateBars(QCPPainter* painter, Iterator begin, Iterator end) const;
    void drawPixelColumns(QCPPainter* painter, Iterator begin, Iterator end) const;
    void drawMark(QCPPainter* painter, Iterator begin, Iterator end) const;

    std::vector<double> bases_;
    std::vector<char> flagged_;
    QBrush flaggedBrush_;
    int marked_ = -1;
    QPen markPen_;
};

}  // namespace pelorin
