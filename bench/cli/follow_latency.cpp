// Measures how soon pelorin-decode --follow writes the record of a telemetry line appended to
// the followed file, and the CPU time it spends while nothing is appended. Run by hand:
//   build/bench/cli/follow_latency [--appends N] [--idle-seconds S]
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "pelorin/line_recognition.h"
#include "pelorin/number_text.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Each record comes just after a poll of the follower, which polls every 100 ms: the gaps
// after it step through those 100 ms, so that the appends fall evenly between two polls.
constexpr int kPollMilliseconds = 100;
constexpr int kGapStepMilliseconds = 37;  // prime to 100: every phase, evenly spread
constexpr int kRecordTimeoutMs = 5000;
constexpr double kPercentile = 0.95;

std::string firstTelemetryLine() {
    std::ifstream in(std::string(PELORIN_SAMPLES_DIR) + "/pass.txt", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    pelorin::FrameText frame;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        const std::string line = text.substr(start, end - start);
        if (pelorin::ExamineLine(line, frame) == pelorin::LineKind::Telemetry) {
            return line;
        }
    }
    std::fputs("no telemetry line in the sample pass\n", stderr);
    std::exit(1);
}

struct Follower {
    pid_t pid;
    int records;  // the read end of its standard output
};

Follower startFollowing(const fs::path& log) {
    int fds[2];
    if (::pipe(fds) != 0) {
        std::exit(1);
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execl(PELORIN_DECODE_EXE, PELORIN_DECODE_EXE, "--follow", "--format=jsonl", "-q",
                log.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    return {pid, fds[0]};
}

// Waits for the next whole record on `fd`; false after the timeout.
bool awaitRecord(int fd, std::string& pending) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(kRecordTimeoutMs);
    while (pending.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd p{fd, POLLIN, 0};
        char block[4096];
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n <= 0) {
            return false;
        }
        pending.append(block, static_cast<std::size_t>(n));
    }
    pending.erase(0, pending.find('\n') + 1);
    return true;
}

// User and system CPU seconds the process has used so far.
double cpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // After the command name in parentheses: state, then fields 4 to 13; utime, stime.
    std::string_view rest(stat);
    rest.remove_prefix(std::min(rest.size(), rest.rfind(')') + 2));
    for (int field = 3; field < 14; ++field) {
        rest.remove_prefix(std::min(rest.size(), rest.find(' ') + 1));
    }
    const long user = std::atol(std::string(rest).c_str());
    rest.remove_prefix(std::min(rest.size(), rest.find(' ') + 1));
    const long system = std::atol(std::string(rest).c_str());
    return static_cast<double>(user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

std::string milliseconds(double seconds) {
    return pelorin::FormatFixed3(seconds * 1000.0, ".") + " ms";
}

}  // namespace

int main(int argc, char** argv) {
    int appends = 50;
    int idleSeconds = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view opt = argv[i];
        if (opt == "--appends") {
            appends = std::max(1, std::atoi(argv[i + 1]));
        } else if (opt == "--idle-seconds") {
            idleSeconds = std::max(1, std::atoi(argv[i + 1]));
        }
    }
    const fs::path folder =
        fs::temp_directory_path() / ("pelorin-follow-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path log = folder / "live.log";
    const std::string line = firstTelemetryLine() + "\r\n";
    std::ofstream(log, std::ios::binary) << line;
    const Follower follower = startFollowing(log);
    std::string pending;
    bool ok = awaitRecord(follower.records, pending);

    std::vector<double> delays;
    for (int k = 0; ok && k < appends; ++k) {
        std::this_thread::sleep_for(std::chrono::milliseconds(
            kPollMilliseconds + k * kGapStepMilliseconds % kPollMilliseconds));
        std::ofstream(log, std::ios::binary | std::ios::app) << line << std::flush;
        const auto appended = Clock::now();
        ok = awaitRecord(follower.records, pending);
        delays.push_back(std::chrono::duration<double>(Clock::now() - appended).count());
    }
    const double cpuBefore = cpuSeconds(follower.pid);
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double idleCpu = cpuSeconds(follower.pid) - cpuBefore;
    ::kill(follower.pid, SIGINT);
    ::waitpid(follower.pid, nullptr, 0);
    fs::remove_all(folder);
    if (!ok) {
        std::fputs("a record did not come within 5 s\n", stderr);
        return 1;
    }

    std::sort(delays.begin(), delays.end());
    const auto at = [&](double share) {
        return delays[std::min(delays.size() - 1, static_cast<std::size_t>(share * delays.size()))];
    };
    const std::string report =
        "appended line to record, " + pelorin::FormatInteger(appends) + " appends: median " +
        milliseconds(at(0.5)) + ", 95th percentile " + milliseconds(at(kPercentile)) + ", max " +
        milliseconds(delays.back()) + "\nidle for " + pelorin::FormatInteger(idleSeconds) +
        " s: " + pelorin::FormatFixed3(idleCpu, ".") + " s CPU (user + system)\n";
    std::fputs(report.c_str(), stdout);
    return 0;
}
