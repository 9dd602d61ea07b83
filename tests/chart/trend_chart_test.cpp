#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cmath>
#include <vector>

#include "chart/ChartColors.h"
#include "chart/LimitLines.h"
#include "chart/TrendChart.h"
#include "chart_fill.h"

namespace pelorin::test {
namespace {

class TrendChartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        chart.resize(chart.sizeHint());
        chart.show();
        QCoreApplication::processEvents();
    }

    QCPBars* bars() const { return qobject_cast<QCPBars*>(chart.plot()->plottable(0)); }

    // The labels the category axis draws, with their keys, after the queued drawing.
    std::vector<std::pair<double, QString>> drawnLabels() {
        QCoreApplication::processEvents();
        const QCPAxis* axis = chart.plot()->xAxis;
        std::vector<std::pair<double, QString>> labels;
        for (int i = 0; i < axis->tickVector().size(); ++i) {
            labels.emplace_back(axis->tickVector()[i], axis->tickVectorLabels()[i]);
        }
        return labels;
    }

    // The tick marks the category axis draws (its sub ticks) in the current view.
    QVector<double> drawnMarks() const {
        QCPAxis* axis = chart.plot()->xAxis;
        QVector<double> ticks;
        QVector<double> marks;
        axis->ticker()->generate(axis->range(), QLocale(), 'g', 6, ticks, &marks, nullptr);
        return marks;
    }

    TrendChart chart;
};

TEST_F(TrendChartTest, ShowsThePlaceholderUntilTheFirstRowCount) {
    EXPECT_FALSE(chart.hasDrawing());
    EXPECT_EQ(bars()->dataCount(), 0);
    EXPECT_FALSE(chart.plot()->xAxis->ticks());
    EXPECT_FALSE(chart.plot()->yAxis->ticks());
    FillChart(chart, 3, RowTimesTen);
    EXPECT_TRUE(chart.hasDrawing());
    EXPECT_EQ(drawnLabels().size(), 3u);
    EXPECT_TRUE(chart.plot()->xAxis->ticks());
    EXPECT_EQ(bars()->dataCount(), 3);
}

struct DivisionCase {
    int rows;
    int fixedSpacing;  // 0: automatic division
    int firstLabel;
    int labelStep;
    int labelCount;
};

class TrendChartDivisionTest : public TrendChartTest,
                               public ::testing::WithParamInterface<DivisionCase> {};

TEST_P(TrendChartDivisionTest, LabelsTheCategoriesAtTheAskedSpacing) {
    const DivisionCase& c = GetParam();
    FillChart(chart, c.rows, RowTimesTen, c.fixedSpacing);
    EXPECT_EQ(chart.categoryAutoDivision(), c.fixedSpacing == 0);
    const auto labels = drawnLabels();
    ASSERT_EQ(static_cast<int>(labels.size()), c.labelCount);
    for (int i = 0; i < c.labelCount; ++i) {
        const int row = c.firstLabel + i * c.labelStep;
        EXPECT_EQ(labels[static_cast<std::size_t>(i)].first, row);
        EXPECT_EQ(labels[static_cast<std::size_t>(i)].second, QString::number(row));
    }
    // Fixed division draws its tick marks as sub ticks at the same categories.
    const QCPAxis* axis = chart.plot()->xAxis;
    EXPECT_EQ(axis->subTicks(), c.fixedSpacing != 0);
    if (c.fixedSpacing != 0) {
        EXPECT_EQ(drawnMarks(), axis->tickVector());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Spacings, TrendChartDivisionTest,
    ::testing::Values(DivisionCase{20, 0, 2, 2, 10}, DivisionCase{100, 0, 10, 10, 10},
                      DivisionCase{5, 0, 1, 1, 5}, DivisionCase{101, 5, 1, 5, 21},
                      DivisionCase{150, 8, 1, 8, 19}, DivisionCase{1000, 50, 1, 50, 20}));

TEST_F(TrendChartTest, TickMarksAndLabelsKeepTheirOwnSpacing) {
    FillChart(chart, 200, RowTimesTen, 8);
    chart.setCategoriesBetweenTicks(4);
    QCoreApplication::processEvents();
    const QCPAxis* axis = chart.plot()->xAxis;
    ASSERT_GE(axis->tickVector().size(), 2);
    ASSERT_GE(drawnMarks().size(), 2);
    EXPECT_EQ(axis->tickVector()[1] - axis->tickVector()[0], 8);
    EXPECT_EQ(drawnMarks()[1] - drawnMarks()[0], 4);
    EXPECT_EQ(axis->tickLengthOut(), 0);  // labels only; the marks are the sub ticks
    EXPECT_GT(axis->subTickLengthOut(), 0);
}

TEST_F(TrendChartTest, AutomaticDivisionUndoesAnEarlierFixedSpacing) {
    FillChart(chart, 101, RowTimesTen, 5);
    ASSERT_EQ(drawnLabels().size(), 21u);
    FillChart(chart, 50, RowTimesTen);
    EXPECT_TRUE(chart.categoryAutoDivision());
    const auto labels = drawnLabels();
    ASSERT_EQ(labels.size(), 10u);  // QCustomPlot's own readable step of 5
    EXPECT_EQ(labels.front().second, "5");
    EXPECT_EQ(labels.back().second, "50");
    EXPECT_FALSE(chart.plot()->xAxis->subTicks());
}

TEST_F(TrendChartTest, ReadsBackTheFilledGrid) {
    FillChart(
        chart, 1000, [](int row) { return row * 0.5 - 100.0; }, 50);
    EXPECT_EQ(chart.categoriesBetweenTicks(), 50);
    EXPECT_EQ(chart.categoriesBetweenLabels(), 50);
    EXPECT_EQ(chart.rowCount(), 1000);
    EXPECT_EQ(chart.rowLabel(1), "1");
    EXPECT_EQ(chart.rowLabel(1000), "1000");
    EXPECT_EQ(chart.data(1), -99.5);
    EXPECT_EQ(chart.data(1000), 400.0);
    QCoreApplication::processEvents();
    ASSERT_EQ(bars()->dataCount(), 1000);
    EXPECT_EQ(bars()->data()->at(499)->key, 500.0);
    EXPECT_EQ(bars()->data()->at(499)->value, 150.0);
}

TEST_F(TrendChartTest, CellsOutsideTheGridOrColumnOneTakeNothing) {
    FillChart(chart, 3, RowTimesTen);
    chart.setColumn(2);
    chart.setRow(2);
    chart.setData(-1.0);
    chart.setColumn(1);
    for (int row : {0, 4, -1}) {
        chart.setRow(row);
        chart.setRowLabel("x");
        chart.setData(-1.0);
    }
    EXPECT_EQ(chart.data(2), 20.0);
    EXPECT_EQ(chart.rowLabel(0), "");
    EXPECT_EQ(chart.data(4), 0.0);
    EXPECT_EQ(chart.rowLabel(3), "3");
    chart.setCategoriesBetweenLabels(0);
    EXPECT_EQ(chart.categoriesBetweenLabels(), 1);
}

TEST_F(TrendChartTest, RowCountKeepsTheRowsThatStay) {
    FillChart(chart, 10, RowTimesTen);
    chart.setRowCount(4);
    chart.setRowCount(6);
    EXPECT_EQ(chart.rowCount(), 6);
    EXPECT_EQ(chart.data(4), 40.0);
    EXPECT_EQ(chart.data(5), 0.0);
    EXPECT_EQ(chart.rowLabel(6), "6");
    chart.setRowCount(-5);
    EXPECT_EQ(chart.rowCount(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(bars()->dataCount(), 0);
}

TEST_F(TrendChartTest, OneRowIsOneBarLabelledOne) {
    FillChart(chart, 1, [](int) { return 4.995; });
    const auto labels = drawnLabels();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].first, 1.0);
    EXPECT_EQ(labels[0].second, "1");
    ASSERT_EQ(bars()->dataCount(), 1);
    EXPECT_EQ(bars()->data()->at(0)->value, 4.995);
}

// Reads the drawn picture: a negative bar fills the space below the zero line and nothing
// above it, and the value axis shows the whole bar.
TEST_F(TrendChartTest, NegativeValuesGrowDownFromZero) {
    FillChart(chart, 20, [](int row) { return row == 5 ? -7.0 : 3.0; });
    QCoreApplication::processEvents();
    const QCPRange values = chart.plot()->yAxis->range();
    EXPECT_LT(values.lower, -7.0);
    EXPECT_GT(values.upper, 3.0);
    const QImage image = chart.plot()->toPixmap().toImage();
    const QColor fill = bars()->brush().color();
    const QPoint bar = chart.barCenter(5);
    const double zero = chart.plot()->yAxis->coordToPixel(0.0);
    const double bottom = chart.plot()->yAxis->coordToPixel(-7.0);
    for (double y = zero + 3; y < bottom - 3; y += 5) {
        EXPECT_EQ(image.pixelColor(bar.x(), static_cast<int>(y)), fill) << y;
    }
    EXPECT_NE(image.pixelColor(bar.x(), static_cast<int>(zero) - 5), fill);
    EXPECT_EQ(image.pixelColor(chart.barCenter(6).x(), static_cast<int>(zero) - 5), fill);
    EXPECT_NE(image.pixelColor(chart.barCenter(6).x(), static_cast<int>(zero) + 5), fill);
}

TEST_F(TrendChartTest, DrawsTheChartedValuesLimitsAsLinesInSight) {
    FillChart(chart, 20, [](int row) { return 3.0 + 0.2 * (row % 3); });  // inside all limits
    struct Case {
        std::optional<double> low;
        std::optional<double> high;
    };
    const Case cases[] = {{2.0, 12.0}, {std::nullopt, 4.5}, {-1.0, std::nullopt}, {}};
    for (const Case& c : cases) {
        ChartLimits limits;
        limits.value = {c.low, c.high};
        chart.setLimits(limits);
        chart.updateNow();
        EXPECT_EQ(chart.limitLines().low(), c.low);
        EXPECT_EQ(chart.limitLines().high(), c.high);
        const QImage image = chart.plot()->toPixmap().toImage();
        const QCPAxis* values = chart.plot()->yAxis;
        const QColor red = ChartColors::FromPalette(chart.palette()).outOfLimits;
        for (const auto& bound : {c.low, c.high}) {
            if (!bound) {
                continue;
            }
            EXPECT_TRUE(values->range().contains(*bound));
            // Somewhere along the line's row, between the bars' dashes, the limit colour shows.
            const int y = static_cast<int>(std::lround(values->coordToPixel(*bound)));
            int shown = 0;
            const auto near = [&red](const QColor& c) {
                return std::abs(c.red() - red.red()) + std::abs(c.green() - red.green()) +
                           std::abs(c.blue() - red.blue()) <
                       90;
            };
            for (int x = chart.barCenter(1).x(); x < chart.barCenter(20).x(); ++x) {
                shown += near(image.pixelColor(x, y)) || near(image.pixelColor(x, y - 1)) ? 1 : 0;
            }
            EXPECT_GT(shown, 10) << *bound;
        }
    }
}

// A thousand bars are narrower than a pixel: each pixel column must still show every bar in
// it, a lone spike included.
TEST_F(TrendChartTest, ThousandBarsKeepEveryValueVisible) {
    FillChart(
        chart, 1000, [](int row) { return row == 300 ? 30.0 : (row <= 500 ? 10.0 : -5.0); }, 50);
    QCoreApplication::processEvents();
    const QImage image = chart.plot()->toPixmap().toImage();
    const QColor fill = bars()->brush().color();
    const QCPAxis* values = chart.plot()->yAxis;
    auto pixel = [&](int row, double value, int dx = 0) {
        return image.pixelColor(chart.barCenter(row).x() + dx,
                                static_cast<int>(values->coordToPixel(value)));
    };
    EXPECT_EQ(pixel(250, 5.0), fill);
    EXPECT_NE(pixel(250, -2.5), fill);
    EXPECT_EQ(pixel(750, -2.5), fill);
    EXPECT_NE(pixel(750, 5.0), fill);
    EXPECT_TRUE(pixel(300, 25.0, -1) == fill || pixel(300, 25.0) == fill ||
                pixel(300, 25.0, 1) == fill);
    EXPECT_NE(pixel(310, 25.0), fill);
}

TEST_F(TrendChartTest, ExtremeValuesLeaveADrawableChart) {
    const std::vector<double> extremes{1e300, -1e300, INFINITY, -INFINITY, NAN, 2.5};
    for (int rows : {6, 1000}) {
        FillChart(chart, rows, [&extremes](int row) {
            return extremes[static_cast<std::size_t>(row - 1) % extremes.size()];
        });
        chart.updateNow();
        EXPECT_FALSE(chart.plot()->toPixmap().isNull());
        EXPECT_TRUE(std::isfinite(chart.plot()->yAxis->range().size()));
    }
    EXPECT_EQ(chart.barToolTip(5), "Record 5: NaN");
}

TEST_F(TrendChartTest, AllZeroValuesStillGiveAValueRange) {
    FillChart(chart, 4, [](int) { return 0.0; });
    QCoreApplication::processEvents();
    EXPECT_GT(chart.plot()->yAxis->range().size(), 0.0);
}

TEST_F(TrendChartTest, ReplotsOncePerEventLoopTurn) {
    int replots = 0;
    QObject::connect(chart.plot(), &QCustomPlot::afterReplot, [&replots] { ++replots; });
    FillChart(chart, 1000, RowTimesTen, 50);
    FillChart(chart, 1000, RowTimesTen, 50);
    EXPECT_EQ(replots, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(replots, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(replots, 1);
    chart.setData(5.0);
    chart.updateNow();
    EXPECT_EQ(replots, 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(replots, 2);
    // Marking a row in the same turn as a drawing costs no replot of its own.
    chart.setSelectedRow(7);
    FillChart(chart, 1000, RowTimesTen, 50);
    QCoreApplication::processEvents();
    EXPECT_EQ(replots, 3);
    chart.setSelectedRow(8);
    chart.setSelectedRow(9);
    QCoreApplication::processEvents();
    EXPECT_EQ(replots, 4);
}

class LocaleGuard {
  public:
    explicit LocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(saved_); }

  private:
    QLocale saved_;
};

TEST_F(TrendChartTest, ToolTipNamesRecordValueAndUnit) {
    FillChart(chart, 10, [](int row) { return row == 7 ? 4.995 : -0.436; });
    chart.setValueUnit("V");
    {
        LocaleGuard c(QLocale::c());
        EXPECT_EQ(chart.barToolTip(7), "Record 7: 4.995 V");
    }
    {
        LocaleGuard german(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(chart.barToolTip(7), "Record 7: 4,995 V");
        chart.setValueUnit("");
        EXPECT_EQ(chart.barToolTip(3), "Record 3: -0,436");
        // The value axis uses the same separator.
        FillChart(chart, 3, [](int row) { return row * 0.25; });
        chart.updateNow();
        const QVector<QString> valueLabels = chart.plot()->yAxis->tickVectorLabels();
        EXPECT_TRUE(valueLabels.contains("0,2"));
        EXPECT_FALSE(valueLabels.contains("0.2"));
    }
    EXPECT_EQ(chart.barToolTip(0), "");
    EXPECT_EQ(chart.barToolTip(11), "");
}

// The picture names what it shows and the records in view, and the chart is as before after.
TEST_F(TrendChartTest, SavedPictureCarriesItsCaptionsAndSaysWhereItWent) {
    FillChart(
        chart, 150, [](int row) { return std::sin(row / 10.0); }, 8);
    ChartDetails details;
    details.valueName = "average Bus Voltage";
    details.quantityName = "Bus Voltage";
    chart.setDetails(details);
    chart.setValueUnit("V");
    chart.updateNow();
    chart.plot()->xAxis->setRange(11.6, 87.4);
    const PictureCaptions captions = chart.pictureCaptions();
    EXPECT_EQ(captions.title, "average Bus Voltage [V]");
    EXPECT_EQ(captions.range, "Records 12 to 87 of 150");
    EXPECT_EQ(captions.keyAxis, "Record number");
    EXPECT_EQ(captions.valueAxis, "Bus Voltage [V]");

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QSignalSpy messages(&chart, &TrendChart::messageForUser);
    const QString path = folder.filePath("chart.png");
    ASSERT_TRUE(chart.savePicture(path));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages[0][0].toString(), path + " has been written");
    QImage image;
    ASSERT_TRUE(image.load(path, "PNG"));
    EXPECT_EQ(image.width(), chart.plot()->width());
    EXPECT_GT(image.height(), chart.plot()->height() + 20);  // the title band and axis name
    EXPECT_EQ(chart.plot()->plotLayout()->rowCount(), 1);
    EXPECT_EQ(chart.plot()->xAxis->label(), "");

    const QString missing = folder.filePath("missing/chart.png");
    EXPECT_FALSE(chart.savePicture(missing));
    ASSERT_EQ(messages.count(), 2);
    EXPECT_TRUE(messages[1][0].toString().startsWith(missing + " could not be written: "));

    const auto contents = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = contents();
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadOther));
    EXPECT_FALSE(chart.savePicture(path));
    EXPECT_EQ(messages.last()[0].toString(),
              path + " could not be written: " + path + " is read-only");
    EXPECT_EQ(contents(), before);
}

}  // namespace
}  // namespace pelorin::test
