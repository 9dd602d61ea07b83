// Measures how long pelorin-decode takes over a generated log of at least a million lines,
// beside two plain passes over the same file: `wc -l` and a read loop that finds every line
// end. The file repeats the sample pass (telemetry among beacons and messages), and a second
// file holds telemetry lines only, the decoder's worst case. Best of several runs each, with
// the file in the page cache.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "pelorin/decoder.h"
#include "pelorin/number_text.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadBlock = std::size_t{1} << 20;

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

// Runs a program with standard output to /dev/null; false if it failed.
bool runProgram(const std::vector<std::string>& args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        std::vector<char*> argv;
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The least a decoder must do: read every byte and find every line end (CR LF, LF or CR).
bool plainReadLoop(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::vector<char> block(kReadBlock);
    long lines = 0;
    for (ssize_t n; (n = ::read(fd, block.data(), block.size())) > 0;) {
        const char* p = block.data();
        const char* end = p + n;
        while ((p = std::find_if(p, end, [](char c) { return c == '\n' || c == '\r'; })) != end) {
            lines += *p == '\n' ? 1 : 0;
            ++p;
        }
    }
    ::close(fd);
    return lines > 0;
}

double bestSeconds(int repeat, const std::function<bool()>& run) {
    double best = 1e30;
    for (int i = 0; i < repeat; ++i) {
        const auto start = Clock::now();
        if (!run()) {
            std::fputs("a run failed\n", stderr);
            std::exit(1);
        }
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void report(std::string_view what, double seconds, double reference, long lines) {
    std::string text(what);
    text.resize(44, ' ');
    text += pelorin::FormatFixed3(seconds, ".") + " s  " +
            pelorin::FormatInteger(static_cast<long>(lines / seconds / 1000)) + "k lines/s  " +
            pelorin::FormatFixed3(seconds / reference, ".") + " x\n";
    std::fputs(text.c_str(), stdout);
}

void measure(const std::string& title, const fs::path& file, long lines, int repeat) {
    const std::string name = file.string();
    std::fputs((std::string(title) + ": " + name + "\n").c_str(), stdout);
    const double wc = bestSeconds(repeat, [&] { return runProgram({"wc", "-l", name}); });
    const double loop = bestSeconds(repeat, [&] { return plainReadLoop(file); });
    const double csv = bestSeconds(repeat, [&] {
        return runProgram({PELORIN_DECODE_EXE, "-q", name});
    });
    const double jsonl = bestSeconds(repeat, [&] {
        return runProgram({PELORIN_DECODE_EXE, "-q", "--format=jsonl", name});
    });
    std::fputs("  ratio to the read loop (and to wc -l):\n", stdout);
    report("  wc -l", wc, loop, lines);
    report("  plain read loop (every line end)", loop, loop, lines);
    report("  pelorin-decode --format csv", csv, loop, lines);
    report("  pelorin-decode --format jsonl", jsonl, loop, lines);
    std::fputs(("  csv / wc -l: " + pelorin::FormatFixed3(csv / wc, ".") +
                " x, jsonl / wc -l: " + pelorin::FormatFixed3(jsonl / wc, ".") + " x\n")
                   .c_str(),
               stdout);
}

}  // namespace

int main(int argc, char** argv) {
    long lines = 1'000'000;
    int repeat = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view opt = argv[i];
        if (opt == "--lines") {
            lines = std::atol(argv[i + 1]);
        } else if (opt == "--repeat") {
            repeat = std::atoi(argv[i + 1]);
        }
    }
    const fs::path folder = fs::temp_directory_path() / "pelorin-cli-bench";
    fs::create_directories(folder);
    const fs::path mixed = folder / "pass-repeated.txt";
    const fs::path telemetry = folder / "telemetry-only.txt";
    writeLog(mixed, sampleLines(false), lines);
    writeLog(telemetry, sampleLines(true), lines);
    std::fputs((pelorin::FormatInteger(lines) + " lines per file, best of " +
                pelorin::FormatInteger(repeat) + " runs\n")
                   .c_str(),
               stdout);
    const double share = 100.0 * static_cast<double>(sampleLines(true).size()) /
                         static_cast<double>(sampleLines(false).size());
    measure("sample pass repeated (" + pelorin::FormatFixed3(share, ".") + " % telemetry lines)",
            mixed, lines, repeat);
    measure("telemetry lines only", telemetry, lines, repeat);
    if (std::getenv("PELORIN_BENCH_KEEP") == nullptr) {
        fs::remove_all(folder);
    }
    return 0;
}
