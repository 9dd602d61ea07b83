// Choosing the charted quantity with the option buttons, and what the chart is given.
#include <qcustomplot.h>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "window_driver.h"

namespace {

const QColor kHighlight(255, 255, 192);

void PasteRecords(WindowDriver& window, int count) {
    std::vector<std::string> lines;
    for (int k = 1; k <= count; ++k) {
        lines.push_back(testframes::lineWithTime(static_cast<unsigned>(k)));
    }
    window.pasteLines(lines);
}

TEST(ChartChoice, AxisSpacingFollowsTheRecordCount) {
    struct Case {
        int records;
        bool automatic;
        int spacing;
    };
    const Case cases[] = {{100, true, 0}, {101, false, 5}, {1000, false, 50}, {50, true, 0}};
    WindowDriver window;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.records);
        PasteRecords(window, c.records);
        EXPECT_EQ(window.chart()->rowCount(), c.records);
        EXPECT_EQ(window.chart()->categoryAutoDivision(), c.automatic);
        if (!c.automatic) {
            EXPECT_EQ(window.chart()->categoriesBetweenTicks(), c.spacing);
            EXPECT_EQ(window.chart()->categoriesBetweenLabels(), c.spacing);
        }
    }
}

TEST(ChartChoice, ChoosingAnotherOptionMovesHighlightAndSelectionAcrossFrames) {
    WindowDriver window;
    PasteRecords(window, 3);
    window.option(20)->click();
    EXPECT_EQ(window.frame(8)->title(), QStringLiteral("Bus Voltage   [ V ]"));
    EXPECT_EQ(window.boxBackground(20), kHighlight);

    window.option(5)->click();  // Frame1, while 20 sits in Frame4
    EXPECT_FALSE(window.option(20)->isChecked());
    EXPECT_TRUE(window.option(5)->isChecked());
    EXPECT_EQ(window.boxBackground(20), window.boxBackground(1));
    EXPECT_NE(window.boxBackground(20), kHighlight);
    EXPECT_EQ(window.boxBackground(5), kHighlight);
    EXPECT_EQ(window.frame(8)->title(), QStringLiteral("3.3 Volts   [ V ]"));
    EXPECT_DOUBLE_EQ(window.chart()->data(2), 3.297424);  // 3.3-volt rail minimum

    // A click on the selected option leaves it selected.
    window.option(5)->click();
    EXPECT_TRUE(window.option(5)->isChecked());
}

TEST(ChartChoice, CaptionsKeepTheirBlanksAndEmptyUnits) {
    const std::pair<int, const char*> cases[] = {
        {20, "Bus Voltage   [ V ]"}, {29, "Status  [  ]"},        {30, "on  [ min ]"},
        {33, "All Errors  [  ]"},    {11, "Temperature   [ C ]"},
    };
    WindowDriver window;
    PasteRecords(window, 2);
    for (const auto& [index, caption] : cases) {
        window.option(index)->click();
        EXPECT_EQ(window.frame(8)->title(), QString::fromLatin1(caption)) << index;
        EXPECT_EQ(window.chart()->valueUnit(), window.unit(index)->text());
    }
}

TEST(ChartChoice, ValuesAreChartedUnchangedNegativesIncluded) {
    WindowDriver window;
    window.pasteLines({LineWithDigits(kTemperatureDigits, "000"), testframes::line()});
    window.option(9)->click();
    EXPECT_DOUBLE_EQ(window.chart()->data(1), -2896 / 7.0);
    EXPECT_DOUBLE_EQ(window.chart()->data(2), 4.285714285714286);
}

TEST(ChartChoice, OneRecordGivesOneBarLabelledOne) {
    WindowDriver window;
    window.paste(testframes::line());
    EXPECT_EQ(window.chart()->rowCount(), 1);
    EXPECT_EQ(window.chart()->rowLabel(1), QStringLiteral("1"));
    EXPECT_TRUE(window.chart()->hasDrawing());
}

TEST(ChartChoice, WithoutRecordsTheHighlightMovesButTheChartStays) {
    WindowDriver window;
    window.option(5)->click();
    EXPECT_EQ(window.boxBackground(5), kHighlight);
    EXPECT_FALSE(window.chart()->hasDrawing());
    EXPECT_EQ(window.frame(8)->title(), QStringLiteral("Graph"));

    PasteRecords(window, 5);
    window.paste("");
    window.option(12)->click();
    EXPECT_EQ(window.chart()->rowCount(), 5);
    EXPECT_EQ(window.frame(8)->title(), QStringLiteral("Bus Voltage   [ V ]"));
}

TEST(ChartChoice, ClickingABarSelectsItsRecord) {
    WindowDriver window;
    PasteRecords(window, 8);
    window.chart()->updateNow();
    QTest::mouseClick(window.chart()->plot(), Qt::LeftButton, Qt::NoModifier,
                      window.chart()->barCenter(6));
    EXPECT_EQ(window.selector()->value(), 6);
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("6/8"));
    EXPECT_EQ(window.box(0)->text(), QStringLiteral("6 => 0d 00:00:06"));
}

TEST(ChartChoice, ChartSavesAsAPictureAndLabel3SaysWhere) {
    WindowDriver window;
    PasteRecords(window, 30);
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("chart.png"));
    ASSERT_TRUE(window.chart()->savePicture(path));
    EXPECT_EQ(window.label("Label3")->text(), path + QStringLiteral(" has been written"));
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 100);
    // Not one flat colour: axes and bars are on it.
    const QColor corner = image.pixelColor(0, 0);
    int different = 0;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            different += image.pixelColor(x, y) != corner ? 1 : 0;
        }
    }
    EXPECT_GT(different, 200);
}

}  // namespace
