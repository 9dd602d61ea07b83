// Measures pelorin-archive on a generated log of distinct frames (by default a million, about
// 125 MB): add into an empty archive, add the same log again (all duplicates), export and
// passes, with pelorin-decode -o /dev/null on the same log in the same run for comparison.
// Gives frames a second, the archive's bytes per frame and each run's peak memory.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "child_run.h"
#include "pelorin/line_recognition.h"
#include "pelorin/reception_time.h"

namespace {

namespace fs = std::filesystem;

constexpr long kDefaultFrames = 1'000'000;
constexpr std::size_t kTimeOffset = 10;
constexpr std::size_t kTimeDigits = 8;
// The satellite is heard for a dozen frames a minute apart, once an orbit.
constexpr int kFramesPerPass = 12;
constexpr unsigned kFrameSeconds = 60;
constexpr unsigned kOrbitSeconds = 96 * 60;
constexpr pelorin::UtcMillis kFirstReception = 1'796'000'000'000;

struct Run {
    double seconds = 0;
    double cpuSeconds = 0;  // user and system: what is left when the disk never waits
    long peakKib = 0;
};

std::vector<std::string> sampleFrames() {
    std::ifstream in(std::string(PELORIN_SAMPLES_DIR) + "/pass.txt", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> frames;
    pelorin::FrameText frame;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        const std::string_view line(text.data() + start, end - start);
        if (line.starts_with(pelorin::FrameMarker) &&
            pelorin::ExamineLine(line, frame) == pelorin::LineKind::Telemetry) {
            frames.emplace_back(line);
        }
    }
    return frames;
}

// Telemetry lines only, each frame distinct by its time counter, in passes of a dozen; with
// `timed`, each line starts with its reception time, as a station's log may have it.
void writeLog(const fs::path& path, long count, bool timed) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::vector<std::string> frames = sampleFrames();
    std::ofstream out(path, std::ios::binary);
    std::string text;
    unsigned time = 3'500'000;
    for (long i = 0; i < count; ++i) {
        std::string line = frames[static_cast<std::size_t>(i) % frames.size()];
        time += i % kFramesPerPass == 0 ? kOrbitSeconds : kFrameSeconds;
        for (std::size_t k = 0; k < kTimeDigits; ++k) {
            line[kTimeOffset + k] = kHex[(time >> (4 * (kTimeDigits - 1 - k))) & 0xF];
        }
        if (timed) {
            text += pelorin::FormatUtcTime(kFirstReception + std::int64_t{time} * 1000) + " ";
        }
        text += line;
        text += '\n';
        if (text.size() > (std::size_t{1} << 20)) {
            out << text;
            text.clear();
        }
    }
    out << text;
}

// Runs a program with standard output and error to /dev/null; its time and peak memory. Exits on
// failure.
Run run(const std::vector<std::string>& args) {
    const pelorin::bench::ChildRun child = pelorin::bench::RunChild(args, "/dev/null", true);
    if (!child.ok) {
        std::fprintf(stderr, "%s %s failed\n", args[0].c_str(),
                     args.size() > 3 ? args[3].c_str() : "");
        std::exit(1);
    }
    return {child.seconds, child.cpuSeconds, child.peakKib};
}

void report(const char* what, const Run& r, long frames, const Run* reference) {
    std::printf("%-30s %7.2f s %9.0f /s  CPU %6.2f s %9.0f /s %7ld KiB", what, r.seconds,
                frames / r.seconds, r.cpuSeconds, frames / r.cpuSeconds, r.peakKib);
    if (reference != nullptr) {
        std::printf("   %.1f x pelorin-decode", r.seconds / reference->seconds);
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    long frames = kDefaultFrames;
    bool timed = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--frames" && i + 1 < argc) {
            frames = std::atol(argv[++i]);
        } else if (arg == "--timed") {
            timed = true;
        } else {
            std::fputs("usage: archive_throughput [--frames N] [--timed]\n", stderr);
            return 2;
        }
    }
    const fs::path folder = fs::temp_directory_path() / "pelorin-archive-bench";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string log = (folder / "log.txt").string();
    const std::string archive = (folder / "archive.sqlite").string();
    writeLog(log, frames, timed);
    std::printf("%ld frames, %s, log %.1f MB\n", frames,
                timed ? "each with its reception time" : "without reception times",
                static_cast<double>(fs::file_size(log)) / 1e6);

    const Run decode = run({PELORIN_DECODE_EXE, "-o", "/dev/null", log});
    report("pelorin-decode -o /dev/null", decode, frames, nullptr);
    const std::vector<std::string> base{PELORIN_ARCHIVE_EXE, "--archive", archive};
    auto with = [&base](std::vector<std::string> more) {
        std::vector<std::string> args = base;
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    report("add, into an empty archive", run(with({"add", log})), frames, &decode);
    report("add again, all duplicates", run(with({"add", log})), frames, &decode);
    const auto bytes = fs::file_size(archive);
    std::printf("archive: %.1f MB, %.0f bytes per frame with one reception\n",
                static_cast<double>(bytes) / 1e6, static_cast<double>(bytes) / frames);
    report("export -o /dev/null (csv)", run(with({"export", "-o", "/dev/null"})), frames, &decode);
    report("export --format jsonl", run(with({"export", "--format", "jsonl"})), frames, &decode);
    report("passes", run(with({"passes"})), frames, nullptr);
    fs::remove_all(folder);
    return 0;
}
