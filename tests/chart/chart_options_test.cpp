// The chart's choices: on-board time with its reboot markers, the value axis, and the menu that
// sets them, from the mouse and from the keyboard.
#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <cmath>

#include "chart/ChartScene.h"
#include "chart/TrendBars.h"
#include "chart/TrendChart.h"
#include "chart_fill.h"

namespace pelorin::test {
namespace {

class ChartOptionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        chart.resize(chart.sizeHint());
        chart.show();
    }
    QCPRange values() {
        chart.updateNow();
        return chart.plot()->yAxis->range();
    }

    TrendChart chart;
};

TEST_F(ChartOptionsTest, OnBoardTimePlacesTheBarsAndMarksTheReboot) {
    FillChart(chart, 6, RowTimesTen);
    ChartDetails details;
    details.times = {1000, 1060, 1240, 30, 90, 150};
    chart.setDetails(details);
    chart.setOptions({TimeAxisChoice::OnBoardTime, ValueScale::FitToValues, false});
    chart.updateNow();
    ASSERT_TRUE(chart.showsTime());
    const TimeAxis& axis = *chart.rowKeys().timeAxis();
    const TrendBars* bars = chart.scene().bars();
    ASSERT_EQ(bars->dataCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(bars->data()->at(i)->key, axis.positions()[static_cast<std::size_t>(i)]);
    }
    for (const QString& label : chart.plot()->xAxis->tickVectorLabels()) {
        EXPECT_TRUE(label.startsWith("0d 00:")) << label.toStdString();
    }

    ASSERT_EQ(chart.scene().segmentMarkers().size(), 1u);
    const SegmentStart start = axis.segmentStarts().at(0);
    const QPoint marker(static_cast<int>(chart.plot()->xAxis->coordToPixel(start.x)),
                        chart.barCenter(1).y());
    auto hover = [this](const QPoint& at) {
        QMouseEvent move(QEvent::MouseMove, at, chart.plot()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(chart.plot(), &move);
        return QToolTip::text().toStdString();
    };
    EXPECT_EQ(hover(marker), SegmentStartText(start));
    EXPECT_EQ(hover(chart.barCenter(2)), "Record 2: 20");
    EXPECT_EQ(chart.rowAt(chart.barCenter(5)), 5);

    details.times[2] = NAN;  // a time that is no time: by record number again
    chart.setDetails(details);
    chart.updateNow();
    EXPECT_FALSE(chart.showsTime());
    details.times.pop_back();  // a time missing: the same
    chart.setDetails(details);
    chart.updateNow();
    EXPECT_FALSE(chart.showsTime());
    EXPECT_TRUE(chart.scene().segmentMarkers().empty());
    EXPECT_EQ(chart.plot()->xAxis->range(), QCPRange(0.5, 6.5));
}

TEST_F(ChartOptionsTest, ValueAxisFitsOrStartsAtZeroWithWholeTicksForCounts) {
    FillChart(chart, 20, [](int row) { return 7.6 + row * 0.025; });
    EXPECT_GT(values().lower, 7.5);
    EXPECT_LT(values().upper, 8.2);
    chart.setOptions({TimeAxisChoice::RecordNumber, ValueScale::StartAtZero, false});
    EXPECT_EQ(values().lower, 0);

    FillChart(chart, 20, [](int row) { return row % 3; });
    ChartDetails details;
    for (const bool whole : {false, true}) {
        details.wholeNumbers = whole;
        chart.setDetails(details);
        values();
        const QVector<double> ticks = chart.plot()->yAxis->tickVector();
        ASSERT_GE(ticks.size(), 2);
        EXPECT_EQ(ticks[1] - ticks[0] == 1.0, whole) << ticks[1] - ticks[0];
    }
}

TEST_F(ChartOptionsTest, TheMenuOpensFromMouseAndKeyboardAndSetsTheOptions) {
    auto* menu = chart.findChild<QMenu*>("chartMenu");
    ASSERT_NE(menu, nullptr);
    auto opens = [menu](const std::function<void()>& request) {
        request();
        const bool shown = menu->isVisible();
        menu->hide();
        return shown;
    };
    EXPECT_TRUE(opens([this] { QTest::keyClick(&chart, Qt::Key_F10, Qt::ShiftModifier); }));
    EXPECT_TRUE(opens([this] { QTest::keyClick(&chart, Qt::Key_Menu); }));
    EXPECT_TRUE(opens([this] {
        QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QApplication::sendEvent(&chart, &keyboard);
    }));
    EXPECT_TRUE(opens([this] {
        const QPoint at = chart.plot()->rect().center();
        QContextMenuEvent mouse(QContextMenuEvent::Mouse, at, chart.plot()->mapToGlobal(at));
        QApplication::sendEvent(chart.plot(), &mouse);
    }));
    EXPECT_FALSE(opens([this] { QTest::keyClick(&chart, Qt::Key_F10); }));

    QSignalSpy changed(&chart, &TrendChart::optionsChanged);
    chart.findChild<QAction*>("onBoardTimeAction")->trigger();
    chart.findChild<QAction*>("showStatisticsAction")->trigger();
    EXPECT_EQ(chart.options(),
              (ChartOptions{TimeAxisChoice::OnBoardTime, ValueScale::FitToValues, true}));
    EXPECT_EQ(changed.count(), 2);
    chart.setOptions({});
    EXPECT_TRUE(chart.findChild<QAction*>("recordNumberAction")->isChecked());
    EXPECT_FALSE(chart.findChild<QAction*>("showStatisticsAction")->isChecked());
}

}  // namespace
}  // namespace pelorin::test
