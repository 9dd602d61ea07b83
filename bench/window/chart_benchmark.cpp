// Cost of one chart drawing as the main window does it on every keystroke: the setter calls
// for every row and the details beside them, then the one queued rebuild and replot. Drawn as
// bars by record number, bars by on-board time, and the four statistics (also with limits that
// about half of the values leave). Run by hand (offscreen by default):
//   build/bench/window/chart_benchmark
#include <benchmark/benchmark.h>

#include <qcustomplot.h>
#include <QApplication>
#include <QString>
#include <cmath>
#include <vector>

#include "chart/CategorySpacing.h"
#include "chart/TrendChart.h"
#include "pelorin/number_text.h"

namespace {

using pelorin::ChartOptions;
using pelorin::TimeAxisChoice;
using pelorin::TrendChart;
using pelorin::ValueScale;

enum View { kBars, kBarsByTime, kStatistics, kStatisticsWithLimits };

constexpr double kFramePeriod = 60;  // s
constexpr int kPassRecords = 90;     // then a gap of ten periods

struct Grid {
    std::vector<QString> labels;
    std::vector<double> values;
    pelorin::ChartDetails details;
};

Grid MakeGrid(int rows) {
    Grid grid;
    double time = 3499625;
    for (int row = 1; row <= rows; ++row) {
        const double value = 12.0 + 3.0 * std::sin(row / 9.0) - (row % 7 == 0 ? 20.0 : 0.0);
        grid.labels.push_back(QString::fromStdString(pelorin::FormatInteger(row)));
        grid.values.push_back(value);
        grid.details.times.push_back(time);
        time += row % kPassRecords == 0 ? 10 * kFramePeriod : kFramePeriod;
        const double spread = 0.5 + (row % 5) * 0.2;
        grid.details.statistics[0].push_back(value - spread);
        grid.details.statistics[1].push_back(value + spread);
        grid.details.statistics[2].push_back(value + 0.1);
        grid.details.statistics[3].push_back(value - 0.2);
    }
    grid.details.valueName = QStringLiteral("average Bus Voltage");
    grid.details.quantityName = QStringLiteral("Bus Voltage");
    return grid;
}

void Fill(TrendChart& chart, const Grid& grid) {
    const int rows = static_cast<int>(grid.values.size());
    const std::optional<int> spacing = pelorin::FixedCategorySpacing(rows);
    chart.setCategoryAutoDivision(!spacing);
    if (spacing) {
        chart.setCategoriesBetweenTicks(*spacing);
        chart.setCategoriesBetweenLabels(*spacing);
    }
    chart.setDetails(grid.details);
    chart.setRowCount(rows);
    for (int row = 1; row <= rows; ++row) {
        chart.setRow(row);
        chart.setColumn(1);
        chart.setRowLabel(grid.labels[static_cast<std::size_t>(row) - 1]);
        chart.setData(grid.values[static_cast<std::size_t>(row) - 1]);
    }
}

void SetView(TrendChart& chart, View view) {
    const bool statistics = view == kStatistics || view == kStatisticsWithLimits;
    chart.setOptions(ChartOptions{
        view == kBarsByTime ? TimeAxisChoice::OnBoardTime : TimeAxisChoice::RecordNumber,
        ValueScale::FitToValues, statistics});
    pelorin::ChartLimits limits;
    if (view == kStatisticsWithLimits) {
        for (pelorin::ValueLimits& bounds : limits.statistics) {
            bounds.high = 12.0;
        }
    }
    chart.setLimits(limits);
}

// The setter calls alone: what the window's handler spends before it returns.
void BM_ChartFill(benchmark::State& state) {
    TrendChart chart;
    chart.resize(chart.sizeHint());
    chart.show();
    SetView(chart, static_cast<View>(state.range(1)));
    const Grid grid = MakeGrid(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Fill(chart, grid);
    }
    QCoreApplication::processEvents();
}
BENCHMARK(BM_ChartFill)
    ->ArgsProduct({{20, 150, 1000}, {kBars}})
    ->Args({1000, kStatistics})
    ->Unit(benchmark::kMicrosecond);

// A whole drawing: the setters, the event-loop turn with the rebuild and replot, the paint.
void BM_ChartFillAndReplot(benchmark::State& state) {
    TrendChart chart;
    chart.resize(chart.sizeHint());
    chart.show();
    SetView(chart, static_cast<View>(state.range(1)));
    const Grid grid = MakeGrid(static_cast<int>(state.range(0)));
    QCoreApplication::processEvents();
    for (auto _ : state) {
        Fill(chart, grid);
        QCoreApplication::processEvents();
        // The replot asks for a paint; do it now so that it is counted too.
        chart.plot()->repaint();
    }
}
BENCHMARK(BM_ChartFillAndReplot)
    ->ArgsProduct({{20, 150, 1000}, {kBars, kBarsByTime, kStatistics, kStatisticsWithLimits}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
