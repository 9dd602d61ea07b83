#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "temp_folder.h"

// True when `folder` holds a file named as pelorin-decode names its temporary files.
inline bool HasTemporary(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".tmp-") != std::string::npos) {
            return true;
        }
    }
    return false;
}

// The built pelorin-decode (or `program`), run as a user would: arguments, standard input from a
// file, standard output and error into files, then `inChild` (limits, other redirections). Every
// wait is bounded, so no test can hang.
class DecoderProcess {
  public:
    static constexpr std::chrono::seconds kPatience{30};

    DecoderProcess(const TempFolder& folder, std::vector<std::string> args,
                   const std::filesystem::path& stdinFile = "/dev/null",
                   const std::function<void()>& inChild = {},
                   const char* program = PELORIN_DECODE_EXE)
        : out_(folder / "stdout"), err_(folder / "stderr") {
        pid_ = ::fork();
        if (pid_ == 0) {
            redirect(stdinFile, STDIN_FILENO, O_RDONLY);
            redirect(out_, STDOUT_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
            redirect(err_, STDERR_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
            if (inChild) {
                inChild();
            }
            std::vector<char*> argv{const_cast<char*>(program)};
            for (std::string& a : args) {
                argv.push_back(a.data());
            }
            argv.push_back(nullptr);
            ::execv(program, argv.data());
            ::_exit(127);
        }
    }
    ~DecoderProcess() {
        if (pid_ > 0 && !finished_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    DecoderProcess(const DecoderProcess&) = delete;
    DecoderProcess& operator=(const DecoderProcess&) = delete;

    // Waits for the end; the exit status, or -1 if it had to be killed or died of a signal.
    int wait(std::chrono::seconds patience = kPatience) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                finished_ = true;
                killedBy_ = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return -1;
    }
    // The signal that ended the process, 0 if it exited.
    int killedBy() const { return killedBy_; }
    void signal(int sig) const { ::kill(pid_, sig); }
    // Waits until standard output satisfies `done`.
    bool waitForOutput(const std::function<bool(const std::string&)>& done) const {
        return waitForFile(out_, done);
    }
    // Waits until the content of `file` satisfies `done`.
    static bool waitForFile(const std::filesystem::path& file,
                            const std::function<bool(const std::string&)>& done) {
        return waitUntil([&] { return done(ReadFile(file)); });
    }
    static bool waitUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < deadline) {
            if (done()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    std::string out() const { return ReadFile(out_); }
    std::string err() const { return ReadFile(err_); }

  private:
    static void redirect(const std::filesystem::path& file, int target, int flags) {
        const int fd = ::open(file.c_str(), flags, 0644);
        if (fd < 0 || ::dup2(fd, target) < 0) {
            ::_exit(126);
        }
        ::close(fd);
    }

    std::filesystem::path out_;
    std::filesystem::path err_;
    pid_t pid_ = -1;
    bool finished_ = false;
    int killedBy_ = 0;
};
