#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "pelorin/atomic_file.h"

// Runs `write` in a child process (so that it may drop privileges or limits) and returns its
// result.
inline pelorin::WriteResult InChild(const std::function<void()>& prepare,
                                    const std::function<pelorin::WriteResult()>& write) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return {false, "pipe failed"};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        prepare();
        const pelorin::WriteResult r = write();
        const std::string message = (r.ok ? "1" : "0") + r.error;
        [[maybe_unused]] auto n = ::write(fds[1], message.data(), message.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string message;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) {
        message.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (message.empty()) {
        return {false, "the child reported nothing"};
    }
    return {message[0] == '1', message.substr(1)};
}

inline constexpr uid_t kNobody = 65534;

// Permission bits do not stop the superuser: act as nobody then.
inline void DropPrivileges() {
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
        ::_exit(1);
    }
}
