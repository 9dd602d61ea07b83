// How long the window takes to handle one keystroke in the paste box: decode, value boxes,
// faces, chart data and the chart's replot and repaint. Types a telemetry line character by
// character, then a few characters more, and reports the median and the 95th percentile.
// Runs offscreen.
//
// Usage: window_keystroke_benchmark [--file FILE [--paste]] [--at end|middle|start]
//                                   [--keystrokes N] [--json]
//   --file FILE     fill the box from FILE by the window's own open path (default: 999
//                   telemetry lines, and the 1000th is typed)
//   --paste         fill it by pasting FILE's text through the clipboard instead, and paste
//                   it into a bare text box too, which is the insertion's own cost
//   --at end|middle|start  type on a new line at the end (default), in the middle or at the
//                   start of the text
//   --keystrokes N  keystrokes to time (default 200)
//   --json          end with one line {"characters": ..., "load_ms": ..., "median_ms": ...,
//                   "p95_ms": ...}
// Exits non-zero when a keystroke's 95th percentile is a frame (16 ms) or more.
#include <qcustomplot.h>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Form1.h"
#include "TextFileLoader.h"
#include "chart/TrendChart.h"
#include "load_and_wait.h"
#include "pelorin/decoder.h"
#include "pelorin/frame_marker.h"
#include "window_bench.h"

namespace {

using window_bench::Clock;
using window_bench::MsSince;
using window_bench::Percentile;
using window_bench::Settle;
using window_bench::TelemetryLine;
constexpr double kFrameMs = 16.0;  // one frame at 60 Hz
constexpr int kDefaultKeystrokes = 200;
constexpr unsigned kDefaultLines = 1000;
constexpr int kDecodeRuns = 50;
constexpr const char* kPlaceNames[] = {"at the end", "in the middle", "at the start"};

struct Options {
    QString file;
    bool paste = false;
    enum class Place { End, Middle, Start } at = Place::End;
    int keystrokes = kDefaultKeystrokes;
    bool json = false;
};

bool ParseOptions(int argc, char* argv[], Options& options) {
    for (int k = 1; k < argc; ++k) {
        const char* arg = argv[k];
        const bool hasValue = k + 1 < argc;
        if (std::strcmp(arg, "--json") == 0) {
            options.json = true;
        } else if (std::strcmp(arg, "--paste") == 0) {
            options.paste = true;
        } else if (std::strcmp(arg, "--file") == 0 && hasValue) {
            options.file = QString::fromLocal8Bit(argv[++k]);
        } else if (std::strcmp(arg, "--at") == 0 && hasValue) {
            const std::string at = argv[++k];
            if (at != "end" && at != "middle" && at != "start") {
                return false;
            }
            options.at = at == "end"      ? Options::Place::End
                         : at == "middle" ? Options::Place::Middle
                                          : Options::Place::Start;
        } else if (std::strcmp(arg, "--keystrokes") == 0 && hasValue) {
            options.keystrokes = std::max(1, std::atoi(argv[++k]));
        } else {
            return false;
        }
    }
    return true;
}

// Pastes `text` into `box` through the clipboard and returns the time until all is shown.
double PasteMs(QPlainTextEdit& box, const QString& text) {
    QApplication::clipboard()->setText(text);
    Settle();
    box.setFocus();
    const auto start = Clock::now();
    box.paste();
    Settle();
    return MsSince(start);
}

// The same paste into a text box like the window's that nothing else watches.
double BarePasteMs(const QString& text) {
    QPlainTextEdit bare;
    bare.setLineWrapMode(QPlainTextEdit::NoWrap);
    bare.resize(800, 200);
    bare.show();
    Settle();
    return PasteMs(bare, text);
}

// Fills the box and returns the time it took, or a negative value when the file was refused.
double FillBox(pelorin::Form1& form, QPlainTextEdit& pasteBox, const Options& options) {
    if (options.paste) {
        const pelorin::LoadedText loaded = pelorin::TextFileLoader::Load(options.file);
        if (!loaded.ok) {
            return -1.0;
        }
        std::printf("paste into a bare text box: %.0f ms\n", BarePasteMs(loaded.text));
        return PasteMs(pasteBox, loaded.text);
    }
    const auto start = Clock::now();
    if (!options.file.isEmpty()) {
        // How long the window goes without handling its events while the file opens.
        QTimer ticks;
        auto lastTick = Clock::now();
        double longestPause = 0.0;
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            longestPause = std::max(longestPause, MsSince(lastTick));
            lastTick = Clock::now();
        });
        ticks.start(1);
        if (!LoadAndWait(form, options.file)) {
            return -1.0;
        }
        longestPause = std::max(longestPause, MsSince(lastTick));
        std::printf("longest time without handling events while opening: %.0f ms\n", longestPause);
    } else {
        std::string text;
        for (unsigned k = 1; k < kDefaultLines; ++k) {
            text += TelemetryLine(k) + "\n";
        }
        pasteBox.setPlainText(QString::fromStdString(text));
    }
    Settle();
    return MsSince(start);
}

// Puts the cursor on a new empty line at the end, in the middle or at the start of the text.
void PlaceCursor(QPlainTextEdit& pasteBox, Options::Place at) {
    QTextDocument* document = pasteBox.document();
    QTextCursor cursor(document);
    if (at != Options::Place::End) {
        const int block = at == Options::Place::Middle ? document->blockCount() / 2 : 0;
        cursor.setPosition(document->findBlockByNumber(block).position());
        cursor.insertText(QStringLiteral("\n"));
        cursor.movePosition(QTextCursor::PreviousBlock);
    } else {
        cursor.movePosition(QTextCursor::End);
        if (!cursor.block().text().isEmpty()) {
            cursor.insertText(QStringLiteral("\n"));
        }
    }
    pasteBox.setTextCursor(cursor);
    pasteBox.setFocus();
    Settle();
}

// The decode of the whole text alone, as it ran on every keystroke before.
double DecodeAloneMs(const QPlainTextEdit& pasteBox) {
    QString whole = pasteBox.toPlainText();
    whole.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    pelorin::TelemetryStore store;
    const std::u16string_view view(reinterpret_cast<const char16_t*>(whole.utf16()),
                                   static_cast<std::size_t>(whole.size()));
    std::vector<double> times;
    for (int k = 0; k < kDecodeRuns; ++k) {
        const auto start = Clock::now();
        pelorin::Decode_Text(view, store);
        times.push_back(MsSince(start));
    }
    return Percentile(times, 0.5);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    Options options;
    if (!ParseOptions(argc, argv, options) || (options.paste && options.file.isEmpty())) {
        std::fprintf(stderr,
                     "usage: window_keystroke_benchmark [--file FILE [--paste]] "
                     "[--at end|middle|start] [--keystrokes N] [--json]\n");
        return 2;
    }

    pelorin::Form1 form;
    form.show();
    auto* pasteBox = form.findChild<QPlainTextEdit*>(QStringLiteral("Text2"));
    auto* chart = form.findChild<pelorin::TrendChart*>(QStringLiteral("MSChart1"));
    int replots = 0;
    QObject::connect(chart->plot(), &QCustomPlot::afterReplot, [&replots] { ++replots; });
    Settle();

    const double loadMs = FillBox(form, *pasteBox, options);
    if (loadMs < 0) {
        std::fprintf(stderr, "%s could not be opened\n", qPrintable(options.file));
        return 2;
    }
    const long long characters = pasteBox->document()->characterCount() - 1;
    PlaceCursor(*pasteBox, options.at);

    // A telemetry line, typed, then more characters that make it too long again.
    std::string typed = TelemetryLine(kDefaultLines);
    while (static_cast<int>(typed.size()) < options.keystrokes) {
        typed += 'F';
    }
    typed.resize(static_cast<std::size_t>(options.keystrokes));

    std::vector<double> times;
    std::vector<double> handlerTimes;
    replots = 0;
    for (const char c : typed) {
        const auto start = Clock::now();
        QTest::keyClick(pasteBox, c);
        handlerTimes.push_back(MsSince(start));
        Settle();
        times.push_back(MsSince(start));
    }

    const double median = Percentile(times, 0.5);
    const double p95 = Percentile(times, 0.95);
    std::printf("keystrokes: %zu %s of a box of %lld characters, %s in %.0f ms\n", times.size(),
                kPlaceNames[static_cast<int>(options.at)], characters,
                options.paste ? "pasted" : "filled", loadMs);
    std::printf("full handling per keystroke: median %.2f ms, p95 %.2f ms, max %.2f ms\n", median,
                p95, Percentile(times, 1.0));
    std::printf("of which the change handler before the replot: median %.2f ms\n",
                Percentile(handlerTimes, 0.5));
    std::printf("chart replots: %d for %zu keystrokes\n", replots, times.size());
    if (options.file.isEmpty()) {
        std::printf("decode of the whole text alone: median %.2f ms\n", DecodeAloneMs(*pasteBox));
    }
    std::printf("goal: p95 under %.0f ms: %s\n", kFrameMs, p95 < kFrameMs ? "met" : "NOT met");
    if (options.json) {
        std::printf(
            "{\"characters\": %lld, \"load_ms\": %.1f, \"median_ms\": %.3f, \"p95_ms\": %.3f}\n",
            characters, loadMs, median, p95);
    }
    return p95 < kFrameMs ? 0 : 1;
}
