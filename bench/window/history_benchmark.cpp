// The History window over a generated archive (by default a million frames), offscreen: the
// time from opening to all frames drawn, each zoom and pan step's redraw (decimation, the
// panels' data and a full replot), and the process's peak memory. Not a test; run by hand:
// build/bench/window/history_benchmark [--frames N] [--json]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <qcustomplot.h>
#include <QApplication>
#include <QEventLoop>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "history/HistoryPanel.h"
#include "history/HistoryWindow.h"
#include "pelorin/archive_ingest.h"
#include "pelorin/archive_store.h"
#include "window_bench.h"

namespace {

namespace fs = std::filesystem;
using window_bench::Clock;

constexpr long kDefaultFrames = 1'000'000;
constexpr std::size_t kBatch = 20'000;
constexpr int kSteps = 60;  // zoom and pan steps measured
// A dozen frames a minute apart, once a 96-minute orbit.
constexpr int kFramesPerPass = 12;
constexpr std::int64_t kFrameMillis = 60'000;
constexpr std::int64_t kOrbitMillis = 96 * 60'000;
constexpr pelorin::UtcMillis kFirstReception = 1'796'000'000'000;
constexpr std::size_t kTimeDigits = 8;

// Frame `k`'s telemetry line with its reception time before it and its time counter set.
std::string LineOf(long k) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::int64_t at =
        kFirstReception + (k / kFramesPerPass) * kOrbitMillis + (k % kFramesPerPass) * kFrameMillis;
    std::string frame = window_bench::TelemetryLine(static_cast<unsigned>(k));
    const auto seconds = static_cast<unsigned>((at - kFirstReception) / 1000);
    for (std::size_t d = 0; d < kTimeDigits; ++d) {
        frame[pelorin::FrameMarker.size() + d] =
            kHex[(seconds >> (4 * (kTimeDigits - 1 - d))) & 0xF];
    }
    return pelorin::FormatUtcTime(at) + " " + frame;
}

// Whether the archive kept at `path` can be used again: one of an older layout cannot be read
// and is made anew.
bool KeptArchiveFits(const fs::path& path, long frames) {
    if (!fs::exists(path)) {
        return false;
    }
    try {
        return pelorin::OpenArchive(path.string(), pelorin::ArchiveAccess::Read)->stats().frames ==
               frames;
    } catch (const pelorin::ArchiveError&) {
        return false;
    }
}

// The archive of `frames` frames at `path`, made in a child process so that its memory is not
// counted; kept between runs.
void MakeArchive(const fs::path& path, long frames) {
    if (KeptArchiveFits(path, frames)) {
        return;
    }
    for (const char* suffix : {"", "-wal", "-shm"}) {
        fs::remove(path.string() + suffix);
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        auto store = pelorin::OpenArchive(path.string(), pelorin::ArchiveAccess::Write);
        pelorin::ArchiveIngest ingest("north");
        for (long k = 0; k < frames; ++k) {
            ingest.addLine(LineOf(k), "bench", k + 1);
            if (ingest.entries().size() == kBatch || k + 1 == frames) {
                store->add(ingest.entries());
                ingest.clearEntries();
            }
        }
        store.reset();  // closed as a station's would be: its journal folded back into the file
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fputs("the archive could not be made\n", stderr);
        std::exit(1);
    }
}

// Redraws every visible panel now, as the screen would.
void Replot(pelorin::HistoryWindow& window) {
    for (int k = 0; k < window.panelCount(); ++k) {
        window.panel(k)->plot()->replot(QCustomPlot::rpImmediateRefresh);
    }
}

template <typename Step>
std::vector<double> TimeSteps(pelorin::HistoryWindow& window, Step step) {
    std::vector<double> ms;
    for (int k = 0; k < kSteps; ++k) {
        const auto start = Clock::now();
        step(k);
        Replot(window);
        ms.push_back(window_bench::MsSince(start));
    }
    return ms;
}

double PeakRssMb() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    long frames = kDefaultFrames;
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--frames" && i + 1 < argc) {
            frames = std::atol(argv[++i]);
        } else if (arg == "--json") {
            json = true;
        } else {
            std::fputs("usage: history_benchmark [--frames N] [--json]\n", stderr);
            return 2;
        }
    }
    if (frames < 1) {
        std::fputs("history_benchmark: --frames must be at least 1\n", stderr);
        return 2;
    }
    const fs::path archive =
        fs::temp_directory_path() / ("pelorin-history-bench-" + std::to_string(frames) + ".sqlite");
    MakeArchive(archive, frames);

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);  // the user's settings stay as they are
    QApplication app(argc, argv);

    const auto opening = Clock::now();
    pelorin::HistoryWindow window(QString::fromStdString(archive.string()), nullptr);
    window.resize(1366, 768);
    window.show();
    QEventLoop wait;
    QObject::connect(&window, &pelorin::HistoryWindow::snapshotShown, &wait, &QEventLoop::quit);
    wait.exec();
    Replot(window);
    const double openMs = window_bench::MsSince(opening);

    const pelorin::history::TimeSpan all = window.view();
    const double middle = (all.from + all.to) / 2;
    // In towards a few passes and out again, then along at an eighth of everything.
    std::vector<double> zoom =
        TimeSteps(window, [&](int k) { window.zoomAt(middle, k < kSteps / 2 ? 0.7 : 1 / 0.7); });
    window.zoomAt(middle, 0.125);
    std::vector<double> pan =
        TimeSteps(window, [&](int k) { window.panBy(k < kSteps / 2 ? 0.1 : -0.1); });
    const double zoomP95 = window_bench::Percentile(zoom, 0.95);
    const double panP95 = window_bench::Percentile(pan, 0.95);
    if (json) {
        std::printf(
            "{\"frames\": %ld, \"open_ms\": %.1f, \"zoom_p95_ms\": %.2f, "
            "\"pan_p95_ms\": %.2f, \"peak_rss_mb\": %.1f}\n",
            frames, openMs, zoomP95, panP95, PeakRssMb());
    } else {
        std::printf(
            "frames %ld\nopen %.1f ms\nzoom p95 %.2f ms\npan p95 %.2f ms\npeak RSS %.1f MB\n",
            frames, openMs, zoomP95, panP95, PeakRssMb());
    }
    return 0;
}
