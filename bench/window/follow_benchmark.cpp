// How long the window works on each line appended to a followed log while the paste box holds
// 1000 records: reading the line, appending it and removing the oldest record's line, the
// decode, the selector, the value boxes, the faces, the chart's data, its replot and repaint.
// Appends one telemetry line every 100 ms to a log the window follows and takes the CPU time of
// the window's thread from the append until the record is drawn (waiting for the next poll
// costs next to none). Also prints how long the record took to show. Runs offscreen.
//
// Usage: window_follow_benchmark [--appends N] [--json]
//   --appends N  lines to append (default 100)
//   --json       end with one line {"appends": ..., "records": ..., "median_ms": ...,
//                "p95_ms": ..., "latency_median_ms": ...}
#include <qcustomplot.h>
#include <time.h>

#include <QApplication>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Form1.h"
#include "chart/TrendChart.h"
#include "pelorin/telemetry_table.h"
#include "window_bench.h"

namespace {

using window_bench::Clock;
using window_bench::MsSince;
using window_bench::Percentile;

constexpr int kDefaultAppends = 100;
constexpr int kAppendGapMs = 100;
constexpr int kShownTimeoutMs = 2000;

// The CPU time of the window's thread: what it works, without the time it waits for events.
double ThreadCpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void WaitMs(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    int appends = kDefaultAppends;
    bool json = false;
    for (int k = 1; k < argc; ++k) {
        if (std::strcmp(argv[k], "--json") == 0) {
            json = true;
        } else if (std::strcmp(argv[k], "--appends") == 0 && k + 1 < argc) {
            appends = std::max(1, std::atoi(argv[++k]));
        } else {
            std::fprintf(stderr, "usage: window_follow_benchmark [--appends N] [--json]\n");
            return 2;
        }
    }

    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("pass.log"));
    std::ofstream log(path.toStdString(), std::ios::binary);
    for (unsigned k = 1; k <= static_cast<unsigned>(pelorin::kMaxRecords); ++k) {
        log << window_bench::TelemetryLine(k) << '\n';
    }
    log.flush();

    pelorin::Form1 form;
    form.show();
    auto* pasteBox = form.findChild<QPlainTextEdit*>(QStringLiteral("Text2"));
    auto* chart = form.findChild<pelorin::TrendChart*>(QStringLiteral("MSChart1"));
    auto* selector = form.findChild<QScrollBar*>(QStringLiteral("HScroll1"));
    int replots = 0;
    QObject::connect(chart->plot(), &QCustomPlot::afterReplot, [&replots] { ++replots; });
    window_bench::Settle();
    if (!form.followLog(path)) {
        std::fprintf(stderr, "%s could not be followed\n", qPrintable(path));
        return 2;
    }
    window_bench::Settle();
    WaitMs(kAppendGapMs);

    std::vector<double> handling;
    std::vector<double> latency;
    for (int k = 0; k < appends; ++k) {
        const auto start = Clock::now();
        const std::string line = window_bench::TelemetryLine(pelorin::kMaxRecords + 1 + k);
        log << line << '\n';
        log.flush();
        const double cpuBefore = ThreadCpuMs();
        const int replotsBefore = replots;
        const QString expected = QString::fromStdString(line);
        while ((pasteBox->document()->lastBlock().text() != expected || replots == replotsBefore) &&
               MsSince(start) < kShownTimeoutMs) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        window_bench::Settle();  // the repaint that the replot asked for
        handling.push_back(ThreadCpuMs() - cpuBefore);
        latency.push_back(MsSince(start));
        WaitMs(std::max(0, kAppendGapMs - static_cast<int>(MsSince(start))));
    }

    const int records = selector->maximum();
    const bool onNewest = selector->value() == records;
    const double median = Percentile(handling, 0.5);
    const double p95 = Percentile(handling, 0.95);
    std::printf(
        "appends: %d, one every %d ms, to a box of %d records (selector on the newest: %s)\n",
        appends, kAppendGapMs, records, onNewest ? "yes" : "NO");
    std::printf("window's handling per append: median %.2f ms, p95 %.2f ms, max %.2f ms\n", median,
                p95, Percentile(handling, 1.0));
    std::printf("from the append to the record drawn: median %.0f ms, p95 %.0f ms\n",
                Percentile(latency, 0.5), Percentile(latency, 0.95));
    if (json) {
        std::printf(
            "{\"appends\": %d, \"records\": %d, \"median_ms\": %.3f, \"p95_ms\": %.3f, "
            "\"latency_median_ms\": %.1f}\n",
            appends, records, median, p95, Percentile(latency, 0.5));
    }
    return records == pelorin::kMaxRecords && onNewest ? 0 : 1;
}
