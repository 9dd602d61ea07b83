#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace pelorin::bench {

// One run of another program to its end, as a benchmark measures it.
struct ChildRun {
    bool ok = false;  // exited with status 0
    double seconds = 0;
    double cpuSeconds = 0;  // user and system
    long peakKib = 0;
};

// Runs `args` (args[0] a path, or a name looked up on PATH) with standard output to `output`,
// and standard error to /dev/null when `quiet`.
inline ChildRun RunChild(const std::vector<std::string>& args, const char* output = "/dev/null",
                         bool quiet = false) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, STDOUT_FILENO);
        if (quiet) {
            ::dup2(::open("/dev/null", O_WRONLY), STDERR_FILENO);
        }
        std::vector<char*> argv;
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0,
            std::chrono::duration<double>(Clock::now() - start).count(),
            seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss};
}

}  // namespace pelorin::bench
