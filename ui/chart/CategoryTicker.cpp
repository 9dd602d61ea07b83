#include "CategoryTicker.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "CategorySpacing.h"

namespace pelorin {

namespace {

// Most labels the automatic division puts on the axis; QCustomPlot rounds to readable steps.
constexpr int kAutoTickCount = 10;
// Tick marks closer than this (pixels) would merge into a solid line.
constexpr double kMinTickMarkPitch = 3.0;
// Blank between neighbouring labels, in digit widths.
constexpr int kLabelGapDigits = 1;
// Rounds of widening the fixed label spacing until the labels fit.
constexpr int kFitRounds = 3;
// A tick counts as sitting on a category when it is this close to the whole key.
constexpr double kKeyTolerance = 1e-6;

QVector<double> ToKeys(const std::vector<int>& categories) {
    return QVector<double>(categories.begin(), categories.end());
}

}  // namespace

CategoryTicker::CategoryTicker(const QCPAxis* axis, const std::vector<QString>* labels)
    : axis_(axis), labels_(labels) {
    setTickStepStrategy(tssReadability);
    setTickCount(kAutoTickCount);
}

void CategoryTicker::setSpacing(int categoriesBetweenTicks, int categoriesBetweenLabels) {
    ticksEvery_ = std::max(categoriesBetweenTicks, 1);
    labelsEvery_ = std::max(categoriesBetweenLabels, 1);
}

double CategoryTicker::pixelsPerCategory(const QCPRange& range) const {
    const double span = range.size();
    if (axis_ == nullptr || axis_->axisRect() == nullptr || span <= 0.0) {
        return 0.0;
    }
    return axis_->axisRect()->width() / span;
}

double CategoryTicker::labelPitch(const std::vector<int>* categories) const {
    if (axis_ == nullptr || labels_->empty()) {
        return 0.0;
    }
    // Measuring is text shaping, so only the label with the most characters is measured (the
    // labels are record numbers, whose digits are equally wide). Without a list every label
    // counts, as any could come up while zooming.
    const QString* longest = &labels_->front();
    auto consider = [&longest](const QString& label) {
        if (label.size() > longest->size()) {
            longest = &label;
        }
    };
    if (categories != nullptr) {
        for (int category : *categories) {
            consider((*labels_)[static_cast<std::size_t>(category) - 1]);
        }
    } else {
        std::for_each(labels_->begin(), labels_->end(), consider);
    }
    const QFontMetrics metrics(axis_->tickLabelFont());
    return metrics.horizontalAdvance(*longest) +
           kLabelGapDigits * metrics.horizontalAdvance(QLatin1Char('0'));
}

int CategoryTicker::fixedLabelSpacing(const QCPRange& range, double perCategory) const {
    int spacing = VisibleCategorySpacing(labelsEvery_, range.size(), wholeSpan_, 0.0);
    if (perCategory <= 0.0) {
        return spacing;
    }
    // Widen until the labels that would stand there fit; wider spacings show fewer labels,
    // so a few rounds settle it.
    for (int round = 0; round < kFitRounds; ++round) {
        const std::vector<int> shown =
            SpacedCategories(spacing, range.lower, range.upper, rowCount());
        const double needed = labelPitch(&shown) / perCategory;
        if (spacing >= needed) {
            break;
        }
        spacing = VisibleCategorySpacing(labelsEvery_, range.size(), wholeSpan_, needed);
    }
    return spacing;
}

void CategoryTicker::generate(const QCPRange& range, const QLocale& locale, QChar formatChar,
                              int precision, QVector<double>& ticks, QVector<double>* subTicks,
                              QVector<QString>* tickLabels) {
    const double perCategory = pixelsPerCategory(range);
    if (automatic_) {
        int count = kAutoTickCount;
        const double pitch = labelPitch(nullptr);
        if (perCategory > 0.0 && pitch > 0.0) {
            const double axisPixels = perCategory * range.size();
            count = std::clamp(static_cast<int>(axisPixels / pitch), 1, kAutoTickCount);
        }
        setTickCount(count);
        QCPAxisTicker::generate(range, locale, formatChar, precision, ticks, subTicks, tickLabels);
        return;
    }
    const double minTickSpacing = perCategory > 0.0 ? kMinTickMarkPitch / perCategory : 0.0;
    const int tickSpacing =
        VisibleCategorySpacing(ticksEvery_, range.size(), wholeSpan_, minTickSpacing);
    ticks = ToKeys(SpacedCategories(fixedLabelSpacing(range, perCategory), range.lower, range.upper,
                                    rowCount()));
    if (subTicks != nullptr) {
        *subTicks = ToKeys(SpacedCategories(tickSpacing, range.lower, range.upper, rowCount()));
    }
    if (tickLabels != nullptr) {
        *tickLabels = createLabelVector(ticks, locale, formatChar, precision);
    }
}

double CategoryTicker::getTickStep(const QCPRange& range) {
    // Categories are whole keys: a step below one would label the gaps between bars.
    return std::max(1.0, std::floor(QCPAxisTicker::getTickStep(range)));
}

QString CategoryTicker::getTickLabel(double tick, const QLocale& /*locale*/, QChar /*formatChar*/,
                                     int /*precision*/) {
    const double row = std::round(tick);
    if (std::fabs(tick - row) > kKeyTolerance || row < 1.0 || row > rowCount()) {
        return {};
    }
    return (*labels_)[static_cast<std::size_t>(row) - 1];
}

}  // namespace pelorin
