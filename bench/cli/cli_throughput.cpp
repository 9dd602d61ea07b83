// Measures the CPU time (user + system) of pelorin-decode to CSV and to jsonl over two
// generated logs, beside the floor under it: a program that only reads the file in 1 MB blocks
// and writes as many bytes as the decoder's output holds. One log repeats the sample pass
// (values that repeat, telemetry among beacons and messages); the other holds telemetry lines of
// random digits, whose values vary as a year of passes gives. Best of several runs each, with
// the file in the page cache. With --before PATH, another build of the program is measured in
// the same run, for before-and-after figures.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "child_run.h"
#include "pelorin/decoder.h"
#include "pelorin/number_text.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> sampleLines(bool telemetryOnly) {
    std::ifstream in(std::string(PELORIN_SAMPLES_DIR) + "/pass.txt", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    pelorin::FrameText frame;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        const std::string_view line(text.data() + start, end - start);
        if (!telemetryOnly || pelorin::ExamineLine(line, frame) == pelorin::LineKind::Telemetry) {
            lines.emplace_back(line);
        }
    }
    return lines;
}

// Repeats `lines` up to `count` lines; every telemetry line gets its own system time, as in a
// real log, so that the time column never repeats.
void writeLog(const fs::path& path, const std::vector<std::string>& lines, long count) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    constexpr std::size_t kTimeOffset = 10;
    constexpr std::size_t kTimeDigits = 8;
    pelorin::FrameText frame;
    std::string text;
    unsigned time = 3'500'000;
    for (long i = 0; i < count; ++i) {
        std::string line = lines[static_cast<std::size_t>(i) % lines.size()];
        if (pelorin::ExamineLine(line, frame) == pelorin::LineKind::Telemetry &&
            line.compare(0, pelorin::FrameMarker.size(), pelorin::FrameMarker) == 0) {
            time += 60;
            for (std::size_t k = 0; k < kTimeDigits; ++k) {
                line[kTimeOffset + k] = kHex[(time >> (4 * (kTimeDigits - 1 - k))) & 0xF];
            }
        }
        text += line;
        text += "\r\n";
    }
    std::ofstream(path, std::ios::binary).write(text.data(), static_cast<long>(text.size()));
}

// Telemetry lines only, every digit random, about `bytes` long.
void writeRandomLog(const fs::path& path, long bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::mt19937 random(1);
    std::string text;
    while (static_cast<long>(text.size()) < bytes) {
        text += pelorin::FrameMarker;
        for (int k = 0; k < pelorin::kFrameDigits; ++k) {
            text += kHex[random() % 16];
        }
        text += "\r\n";
    }
    std::ofstream(path, std::ios::binary).write(text.data(), static_cast<long>(text.size()));
}

// Runs a program with standard output to `output`; its CPU seconds, or a negative number if it
// failed.
double runProgram(const std::vector<std::string>& args, const char* output = "/dev/null") {
    const pelorin::bench::ChildRun run = pelorin::bench::RunChild(args, output);
    return run.ok ? run.cpuSeconds : -1.0;
}

double bestSeconds(int repeat, const std::vector<std::string>& args) {
    double best = 1e30;
    for (int i = 0; i < repeat; ++i) {
        const double seconds = runProgram(args);
        if (seconds < 0) {
            std::fputs("a run failed\n", stderr);
            std::exit(1);
        }
        best = std::min(best, seconds);
    }
    return best;
}

void report(std::string_view what, double seconds, double floor) {
    std::string text(what);
    text.resize(44, ' ');
    text += pelorin::FormatFixed3(seconds, ".") + " s CPU  " +
            pelorin::FormatFixed3(seconds / floor, ".") + " x the floor\n";
    std::fputs(text.c_str(), stdout);
}

// The program's CPU time for one output format beside the floor for as many bytes.
void measureFormat(const std::string& name, const std::vector<std::string>& options,
                   const std::vector<std::string>& programs, int repeat) {
    const fs::path output = fs::temp_directory_path() / "pelorin-cli-bench-output";
    std::vector<std::string> args = {programs.front(), "-q"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(name);
    runProgram(args, output.c_str());
    const std::string bytes = std::to_string(fs::file_size(output));
    fs::remove(output);
    const double floor = bestSeconds(repeat, {READ_WRITE_FLOOR_EXE, name, bytes});
    report("  read-and-write floor (" + bytes + " bytes out)", floor, floor);
    for (const std::string& program : programs) {
        args.front() = program;
        const std::string label = program == programs.front() ? "pelorin-decode" : "before";
        report("  " + label + " " + options.front(), bestSeconds(repeat, args), floor);
    }
}

void measure(const std::string& title, const fs::path& file,
             const std::vector<std::string>& programs, int repeat) {
    std::fputs((title + ": " + file.string() + ", " +
                pelorin::FormatInteger(static_cast<long>(fs::file_size(file))) + " bytes\n")
                   .c_str(),
               stdout);
    measureFormat(file.string(), {"--format=csv"}, programs, repeat);
    measureFormat(file.string(), {"--format=jsonl"}, programs, repeat);
}

}  // namespace

int main(int argc, char** argv) {
    long lines = 1'000'000;
    long bytes = 8'000'000;
    int repeat = 5;
    std::vector<std::string> programs = {PELORIN_DECODE_EXE};
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view opt = argv[i];
        if (opt == "--lines") {
            lines = std::atol(argv[i + 1]);
        } else if (opt == "--bytes") {
            bytes = std::atol(argv[i + 1]);
        } else if (opt == "--repeat") {
            repeat = std::atoi(argv[i + 1]);
        } else if (opt == "--before") {
            programs.emplace_back(argv[i + 1]);
        }
    }
    const fs::path folder = fs::temp_directory_path() / "pelorin-cli-bench";
    fs::create_directories(folder);
    const fs::path varied = folder / "random-digits.txt";
    const fs::path mixed = folder / "pass-repeated.txt";
    writeRandomLog(varied, bytes);
    writeLog(mixed, sampleLines(false), lines);
    std::fputs(("best of " + pelorin::FormatInteger(repeat) + " runs\n").c_str(), stdout);
    measure("telemetry of random digits", varied, programs, repeat);
    measure("sample pass repeated", mixed, programs, repeat);
    if (std::getenv("PELORIN_BENCH_KEEP") == nullptr) {
        fs::remove_all(folder);
    }
    return 0;
}
