// The chart's own choices in the window: remembered between runs, the selected record marked,
// the four statistics, and the hover text written as the value boxes write their values.
#include <qcustomplot.h>
#include <QAction>
#include <QFile>
#include <QLocale>
#include <QSettings>

#include "chart/ChartColors.h"
#include "chart/ChartScene.h"
#include "chart/TrendBars.h"
#include "pelorin/decoder.h"
#include "window_driver.h"

namespace {

using pelorin::ChartOptions;
using pelorin::TimeAxisChoice;
using pelorin::ValueScale;

const QString kSamplePass = QStringLiteral(PELORIN_SAMPLES_DIR "/pass.txt");

// Each test starts from the defaults and leaves none of its choices behind.
class ChartView : public ::testing::Test {
  protected:
    void SetUp() override { QSettings().clear(); }
    void TearDown() override { QSettings().clear(); }

    static QAction* Action(const WindowDriver& window, const char* name) {
        auto* action = window.chart()->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    static void LoadSample(WindowDriver& window) {
        ASSERT_TRUE(LoadAndWait(window.form(), kSamplePass));
        WindowDriver::Settle();
    }
};

TEST_F(ChartView, MenuChoicesAreRememberedBetweenRuns) {
    const ChartOptions chosen{TimeAxisChoice::OnBoardTime, ValueScale::StartAtZero, true};
    {
        WindowDriver window;
        EXPECT_EQ(window.chart()->options(), ChartOptions{});
        EXPECT_TRUE(Action(window, "recordNumberAction")->isChecked());
        EXPECT_TRUE(Action(window, "fitToValuesAction")->isChecked());
        for (const char* name :
             {"onBoardTimeAction", "startAtZeroAction", "showStatisticsAction"}) {
            Action(window, name)->trigger();
        }
        EXPECT_EQ(window.chart()->options(), chosen);
    }
    WindowDriver again;
    EXPECT_EQ(again.chart()->options(), chosen);
    EXPECT_TRUE(Action(again, "onBoardTimeAction")->isChecked());
    EXPECT_FALSE(Action(again, "recordNumberAction")->isChecked());
    EXPECT_TRUE(Action(again, "startAtZeroAction")->isChecked());
    EXPECT_TRUE(Action(again, "showStatisticsAction")->isChecked());
}

// The cursor is drawn at the selected record's bar, by record number and by on-board time.
TEST_F(ChartView, TheSelectedRecordIsMarkedAndFollowsTheSelector) {
    WindowDriver window;
    LoadSample(window);
    pelorin::TrendChart* chart = window.chart();
    const QColor cursor = pelorin::ChartColors::FromPalette(chart->palette()).text;
    for (const TimeAxisChoice axis : {TimeAxisChoice::RecordNumber, TimeAxisChoice::OnBoardTime}) {
        chart->setOptions({axis, ValueScale::FitToValues, false});
        for (const int record : {1, 57, 150}) {
            window.selector()->setValue(record);
            WindowDriver::Settle();
            SCOPED_TRACE(record);
            EXPECT_EQ(chart->selectedRow(), record);
            const QImage image = chart->plot()->toPixmap().toImage();
            const int aboveBars = chart->plot()->axisRect()->top() + 2;
            EXPECT_EQ(image.pixelColor(chart->barCenter(record).x(), aboveBars), cursor);
            EXPECT_NE(image.pixelColor(chart->barCenter(record == 1 ? 10 : 1).x(), aboveBars),
                      cursor);
        }
    }
    EXPECT_TRUE(chart->showsTime());
}

TEST_F(ChartView, TheFourStatisticsShowAsRangeBarsAndTwoMarks) {
    WindowDriver window;
    LoadSample(window);
    pelorin::TelemetryStore store;
    QFile pass(kSamplePass);
    ASSERT_TRUE(pass.open(QIODevice::ReadOnly));
    pelorin::Decode_Text(testframes::toU16(pass.readAll().toStdString()), store);
    ASSERT_EQ(store.RecordCount(), 150);

    window.option(18)->click();  // the maximum bus voltage: its quantity has values 17..20
    pelorin::TrendChart* chart = window.chart();
    chart->setOptions({TimeAxisChoice::RecordNumber, ValueScale::FitToValues, true});
    chart->updateNow();
    ASSERT_TRUE(chart->showsStatistics());
    const pelorin::ChartScene& scene = chart->scene();
    const auto* bars = scene.bars();
    const QCPGraph* average = scene.marks(pelorin::ChartScene::Average);
    const QCPGraph* actual = scene.marks(pelorin::ChartScene::Actual);
    ASSERT_EQ(bars->dataCount(), 150);
    ASSERT_EQ(average->dataCount(), 150);
    ASSERT_EQ(actual->dataCount(), 150);
    for (int rec = 1; rec <= 150; ++rec) {
        const int at = rec - 1;
        EXPECT_EQ(bars->bases()[static_cast<std::size_t>(at)], store.value(rec, 17)) << rec;
        EXPECT_EQ(bars->data()->at(at)->value, store.value(rec, 18)) << rec;
        EXPECT_EQ(average->data()->at(at)->value, store.value(rec, 19)) << rec;
        EXPECT_EQ(actual->data()->at(at)->value, store.value(rec, 20)) << rec;
    }
    const QCPLegend* legend = chart->plot()->legend;
    ASSERT_TRUE(legend->visible());
    ASSERT_EQ(legend->itemCount(), 3);
    EXPECT_EQ(legend->itemWithPlottable(scene.bars())->plottable()->name(), "minimum to maximum");
    EXPECT_EQ(legend->itemWithPlottable(average)->plottable()->name(), "average");
    EXPECT_EQ(legend->itemWithPlottable(actual)->plottable()->name(), "actual");

    window.selector()->setValue(57);
    EXPECT_EQ(chart->barToolTip(57), "Record 57: Bus Voltage\nminimum " + window.box(17)->text() +
                                         " V\nmaximum " + window.box(18)->text() + " V\naverage " +
                                         window.box(19)->text() + " V\nactual " +
                                         window.box(20)->text() + " V");

    window.option(30)->click();  // no statistics: bars of the value alone
    chart->updateNow();
    EXPECT_FALSE(chart->showsStatistics());
    EXPECT_FALSE(legend->visible());
    EXPECT_TRUE(scene.bars()->bases().empty());
}

// The hover text names the statistic and writes the value as its box does, with the regional
// separator: not the chart's 15 significant digits.
TEST_F(ChartView, ToolTipNamesTheValueAndWritesItAsItsBox) {
    const QLocale saved;
    const std::pair<QLocale, const char*> locales[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates),
         "Record 57: average Bus Voltage 8.119 V"},
        {QLocale(QLocale::German, QLocale::Germany), "Record 57: average Bus Voltage 8,119 V"}};
    for (const auto& [locale, text] : locales) {
        QLocale::setDefault(locale);
        WindowDriver window;
        LoadSample(window);
        EXPECT_EQ(window.chart()->barToolTip(57), QString::fromLatin1(text));
        window.selector()->setValue(57);
        for (const auto& [index, name] :
             {std::pair{29, "Solar Array Status"}, std::pair{30, "Nominal mode on"},
              std::pair{33, "All Errors"}}) {
            window.option(index)->click();
            const QString unit = window.unit(index)->text();
            EXPECT_EQ(window.chart()->barToolTip(57),
                      "Record 57: " + QString::fromLatin1(name) + ' ' + window.box(index)->text() +
                          (unit.isEmpty() ? QString() : ' ' + unit));
        }
    }
    QLocale::setDefault(saved);
}

}  // namespace
