// Cost of one chart drawing as the main window does it on every keystroke: the setter calls
// for every row, then the one queued rebuild and replot. Run by hand (offscreen by default):
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

using pelorin::TrendChart;

struct Grid {
    std::vector<QString> labels;
    std::vector<double> values;
};

Grid MakeGrid(int rows) {
    Grid grid;
    for (int row = 1; row <= rows; ++row) {
        grid.labels.push_back(QString::fromStdString(pelorin::FormatInteger(row)));
        grid.values.push_back(12.0 + 3.0 * std::sin(row / 9.0) - (row % 7 == 0 ? 20.0 : 0.0));
    }
    return grid;
}

void Fill(TrendChart& chart, const Grid& grid) {
    const int rows = static_cast<int>(grid.values.size());
    chart.setChartType(TrendChart::kBarChart2d);
    const std::optional<int> spacing = pelorin::FixedCategorySpacing(rows);
    chart.setCategoryAutoDivision(!spacing);
    if (spacing) {
        chart.setCategoriesBetweenTicks(*spacing);
        chart.setCategoriesBetweenLabels(*spacing);
    }
    chart.setRowCount(rows);
    for (int row = 1; row <= rows; ++row) {
        chart.setRow(row);
        chart.setColumn(1);
        chart.setRowLabel(grid.labels[static_cast<std::size_t>(row) - 1]);
        chart.setData(grid.values[static_cast<std::size_t>(row) - 1]);
    }
}

// The setter calls alone: what the window's handler spends before it returns.
void BM_ChartFill(benchmark::State& state) {
    TrendChart chart;
    chart.resize(chart.sizeHint());
    chart.show();
    const Grid grid = MakeGrid(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Fill(chart, grid);
    }
    QCoreApplication::processEvents();
}
BENCHMARK(BM_ChartFill)->Arg(20)->Arg(150)->Arg(1000)->Unit(benchmark::kMicrosecond);

// A whole drawing: the setters, the event-loop turn with the rebuild and replot, the paint.
void BM_ChartFillAndReplot(benchmark::State& state) {
    TrendChart chart;
    chart.resize(chart.sizeHint());
    chart.show();
    const Grid grid = MakeGrid(static_cast<int>(state.range(0)));
    QCoreApplication::processEvents();
    for (auto _ : state) {
        Fill(chart, grid);
        QCoreApplication::processEvents();
        // The replot asks for a paint; do it now so that it is counted too.
        chart.plot()->repaint();
    }
}
BENCHMARK(BM_ChartFillAndReplot)->Arg(20)->Arg(150)->Arg(1000)->Unit(benchmark::kMicrosecond);

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
