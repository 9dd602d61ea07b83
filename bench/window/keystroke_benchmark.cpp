// How long the window takes to handle one keystroke in a paste box holding 1000 telemetry
// lines: decode of the whole text, value boxes, faces, chart data and the chart's replot and
// repaint. Types a telemetry line character by character at the end of 999 others, then a few
// characters more, and reports the median and the 95th percentile. Runs offscreen.
// Usage: window_keystroke_benchmark [KEYSTROKES]
#include <qcustomplot.h>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "Form1.h"
#include "chart/TrendChart.h"
#include "pelorin/decoder.h"
#include "pelorin/frame_marker.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kGoalMedianMs = 8.0;

// Telemetry lines with varied digits, so values, flags and bars differ from line to line.
std::string TelemetryLine(unsigned seed) {
    static const char* hex = "0123456789ABCDEF";
    std::string line(pelorin::FrameMarker);
    unsigned state = seed * 2654435761U + 12345U;
    for (int k = 0; k < pelorin::kFrameDigits; ++k) {
        state = state * 1103515245U + 12345U;
        line += hex[(state >> 16) & 0xF];
    }
    return line;
}

void Settle() {
    for (int turn = 0; turn < 3; ++turn) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto at =
        static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int keystrokes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    pelorin::Form1 form;
    form.show();
    auto* pasteBox = form.findChild<QPlainTextEdit*>(QStringLiteral("Text2"));
    auto* chart = form.findChild<pelorin::TrendChart*>(QStringLiteral("MSChart1"));
    int replots = 0;
    QObject::connect(chart->plot(), &QCustomPlot::afterReplot, [&replots] { ++replots; });

    std::string text;
    for (unsigned k = 1; k < 1000; ++k) {
        text += TelemetryLine(k) + "\n";
    }
    pasteBox->setPlainText(QString::fromStdString(text));
    pasteBox->moveCursor(QTextCursor::End);
    pasteBox->setFocus();
    Settle();

    // The 1000th line, typed, then more characters that make it too long again.
    std::string typed = TelemetryLine(1000);
    while (static_cast<int>(typed.size()) < keystrokes) {
        typed += 'F';
    }
    typed.resize(static_cast<std::size_t>(keystrokes));

    std::vector<double> times;
    std::vector<double> handlerTimes;
    times.reserve(typed.size());
    replots = 0;
    for (const char c : typed) {
        const auto start = Clock::now();
        QTest::keyClick(pasteBox, c);
        handlerTimes.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        Settle();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }

    // The decode alone, for comparison.
    QString whole = pasteBox->toPlainText();
    whole.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    pelorin::TelemetryStore store;
    const std::u16string_view view(reinterpret_cast<const char16_t*>(whole.utf16()),
                                   static_cast<std::size_t>(whole.size()));
    std::vector<double> decodeTimes;
    for (int k = 0; k < 50; ++k) {
        const auto start = Clock::now();
        pelorin::Decode_Text(view, store);
        decodeTimes.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }

    const double median = Percentile(times, 0.5);
    std::printf("keystrokes: %zu in a box of 1000 lines (%lld characters)\n", times.size(),
                static_cast<long long>(whole.size()));
    std::printf("full handling per keystroke: median %.2f ms, p95 %.2f ms, max %.2f ms\n", median,
                Percentile(times, 0.95), Percentile(times, 1.0));
    std::printf("of which the change handler before the replot: median %.2f ms\n",
                Percentile(handlerTimes, 0.5));
    std::printf("chart replots: %d for %zu keystrokes\n", replots, times.size());
    std::printf("decode alone: median %.2f ms\n", Percentile(decodeTimes, 0.5));
    std::printf("goal: median under %.0f ms: %s\n", kGoalMedianMs,
                median < kGoalMedianMs ? "met" : "NOT met");
    return median < kGoalMedianMs ? 0 : 1;
}
