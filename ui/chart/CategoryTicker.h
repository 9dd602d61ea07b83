#pragma once

#include <qcustomplot.h>
#include <QString>
#include <vector>

namespace pelorin {

// Ticker of the chart's category axis: one category per data row at keys 1..n, labelled with
// the rows' own labels. With automatic division QCustomPlot chooses whole-number steps; with a
// fixed division every N-th category gets a label and every M-th a tick mark (drawn as the
// axis' sub ticks, so both spacings can differ).
class CategoryTicker : public QCPAxisTicker {
  public:
    // `axis` gives the pixel width and label font for the overlap guard, `labels` the row
    // labels (row r at index r - 1); both must outlive the ticker's use.
    CategoryTicker(const QCPAxis* axis, const std::vector<QString>* labels);

    void setAutomatic(bool automatic) { automatic_ = automatic; }
    void setSpacing(int categoriesBetweenTicks, int categoriesBetweenLabels);
    // The whole key range in categories (the unzoomed view).
    void setWholeSpan(double categories) { wholeSpan_ = categories; }

    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks,
                  QVector<QString>* tickLabels) override;

  protected:
    double getTickStep(const QCPRange& range) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override;

  private:
    double pixelsPerCategory(const QCPRange& range) const;
    // Pixels the widest of these labels (all rows when null) needs along the axis, gap
    // included.
    double labelPitch(const std::vector<int>* categories) const;
    int fixedLabelSpacing(const QCPRange& range, double perCategory) const;
    int rowCount() const { return static_cast<int>(labels_->size()); }

    const QCPAxis* axis_;
    const std::vector<QString>* labels_;
    bool automatic_ = true;
    int ticksEvery_ = 1;
    int labelsEvery_ = 1;
    double wholeSpan_ = 1.0;
};

}  // namespace pelorin
