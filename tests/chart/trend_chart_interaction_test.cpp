#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include "chart/TrendChart.h"
#include "chart_fill.h"

namespace pelorin::test {
namespace {

constexpr int kRows = 40;

class TrendChartInteractionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        chart.resize(chart.sizeHint());
        chart.show();
        FillChart(chart, kRows, RowTimesTen);
        QCoreApplication::processEvents();
    }

    QCustomPlot* plot() const { return chart.plot(); }
    QCPRange keys() const { return plot()->xAxis->range(); }
    QCPRange values() const { return plot()->yAxis->range(); }

    void wheel(const QPoint& pos, int degrees8) {
        QWheelEvent event(pos, plot()->mapToGlobal(pos), QPoint(), QPoint(0, degrees8),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot(), &event);
    }

    void mouse(QEvent::Type type, const QPoint& pos, Qt::MouseButtons buttons,
               Qt::MouseButton button = Qt::NoButton) {
        QMouseEvent event(type, pos, plot()->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(plot(), &event);
    }

    TrendChart chart;
};

TEST_F(TrendChartInteractionTest, ClickingABarEmitsItsRow) {
    QSignalSpy clicked(&chart, &TrendChart::barClicked);
    for (int row : {1, 17, kRows}) {
        QTest::mouseClick(plot(), Qt::LeftButton, {}, chart.barCenter(row));
    }
    ASSERT_EQ(clicked.count(), 3);
    EXPECT_EQ(clicked[0][0].toInt(), 1);
    EXPECT_EQ(clicked[1][0].toInt(), 17);
    EXPECT_EQ(clicked[2][0].toInt(), kRows);
    // Below the plotting area (the axis labels) is no bar.
    QTest::mouseClick(plot(), Qt::LeftButton, {},
                      QPoint(chart.barCenter(17).x(), plot()->height() - 2));
    QTest::mouseClick(plot(), Qt::RightButton, {}, chart.barCenter(17));
    EXPECT_EQ(clicked.count(), 3);
}

TEST_F(TrendChartInteractionTest, DraggingPansWithoutAClick) {
    QSignalSpy clicked(&chart, &TrendChart::barClicked);
    FillChart(chart, 200, RowTimesTen);
    QCoreApplication::processEvents();
    wheel(chart.barCenter(100), 240);
    const QCPRange zoomed = keys();
    const QCPRange fitted = values();
    const QPoint start = chart.barCenter(100);
    const QPoint end = start + QPoint(120, 30);
    mouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, start + QPoint(60, 15), Qt::LeftButton);
    mouse(QEvent::MouseMove, end, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, end, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_LT(keys().lower, zoomed.lower);
    EXPECT_NEAR(keys().size(), zoomed.size(), 1e-9);
    EXPECT_EQ(values(), fitted);
}

TEST_F(TrendChartInteractionTest, WheelZoomsTheCategoryAxisOnlyAndDoubleClickRestores) {
    const QCPRange whole = keys();
    EXPECT_EQ(whole, QCPRange(0.5, kRows + 0.5));
    const QCPRange fitted = values();
    wheel(chart.barCenter(10), 120);
    const QCPRange zoomed = keys();
    EXPECT_LT(zoomed.size(), whole.size());
    EXPECT_GE(zoomed.lower, whole.lower);
    EXPECT_EQ(values(), fitted);
    QTest::mouseDClick(plot(), Qt::LeftButton, {}, chart.barCenter(10));
    EXPECT_EQ(keys(), whole);
    EXPECT_EQ(values(), fitted);
}

TEST_F(TrendChartInteractionTest, ZoomStaysInsideTheRows) {
    const QCPRange whole = keys();
    for (int i = 0; i < 5; ++i) {
        wheel(chart.barCenter(kRows), -120);  // out
    }
    EXPECT_EQ(keys(), whole);
    for (int i = 0; i < 40; ++i) {
        wheel(chart.barCenter(kRows), 120);  // far in
    }
    EXPECT_GE(keys().size(), 5.0 - 1e-9);
    EXPECT_LE(keys().upper, whole.upper + 1e-9);
}

TEST_F(TrendChartInteractionTest, ANewDrawingShowsTheWholeRangeAgain) {
    wheel(chart.barCenter(10), 240);
    ASSERT_LT(keys().size(), kRows);
    FillChart(chart, 60, RowTimesTen);
    QCoreApplication::processEvents();
    EXPECT_EQ(keys(), QCPRange(0.5, 60.5));
}

TEST_F(TrendChartInteractionTest, HoverShowsTheBarsToolTip) {
    chart.setValueUnit("mA");
    EXPECT_EQ(chart.rowAt(chart.barCenter(23)), 23);
    mouse(QEvent::MouseMove, chart.barCenter(23), Qt::NoButton);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Record 23: 230 mA");
    mouse(QEvent::MouseMove, QPoint(1, 1), Qt::NoButton);
    EXPECT_EQ(chart.rowAt(QPoint(1, 1)), 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
}

TEST_F(TrendChartInteractionTest, ToolTipRequestOverABarGetsTheBarsText) {
    chart.setToolTip("graphical value");
    const QPoint bar = chart.barCenter(5);
    QHelpEvent overBar(QEvent::ToolTip, bar, plot()->mapToGlobal(bar));
    QApplication::sendEvent(plot(), &overBar);
    EXPECT_EQ(QToolTip::text(), "Record 5: 50");
    const QPoint outside(1, 1);
    QHelpEvent elsewhere(QEvent::ToolTip, outside, plot()->mapToGlobal(outside));
    QApplication::sendEvent(plot(), &elsewhere);
    EXPECT_EQ(QToolTip::text(), "graphical value");
}

TEST_F(TrendChartInteractionTest, CopyChartPutsThePictureOnTheClipboard) {
    QApplication::clipboard()->clear();
    auto* copy = chart.findChild<QAction*>("copyChartAction");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->text(), "&Copy Chart");  // C is its access key
    QSignalSpy confirmed(&chart, &TrendChart::messageForUser);
    copy->trigger();
    ASSERT_EQ(confirmed.count(), 1);
    EXPECT_TRUE(confirmed.at(0).at(0).toString().contains("copied"));
    const QImage image = QApplication::clipboard()->image();
    EXPECT_EQ(image.width(), plot()->width());
    EXPECT_GT(image.height(), plot()->height());  // the picture's captions
    auto* save = chart.findChild<QAction*>("saveChartAction");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->text(), "&Save Chart as PNG...");
}

}  // namespace
}  // namespace pelorin::test
