#include "fd_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "error_report.h"
#include "pelorin/follow_messages.h"
#include "stop_signal.h"

namespace pelorin::cli {

ReadOutcome FdSource::read(char* buffer, std::size_t capacity) {
    // A source that never waits (/dev/zero) gives no signal the chance to interrupt a read:
    // the request is looked at here, before each one.
    if (StopRequested()) {
        return {0, EINTR};
    }
    const ssize_t n = ::read(fd_, buffer, capacity);
    if (n < 0) {
        return {0, errno};
    }
    return {static_cast<std::size_t>(n), 0};
}

OpenedInput OpenInputFile(const std::string& name) {
    OpenedInput opened;
    do {  // a FIFO waits here for its writer
        opened.fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
        opened.error = opened.fd < 0 ? errno : 0;
    } while (opened.fd < 0 && opened.error == EINTR && !StopRequested());
    return opened;
}

FollowStart StartFollowing(const std::string& name) {
    constexpr std::string_view kStdinPath = "/dev/stdin";
    const bool isStdin = name == kStdinName;
    struct stat st {};
    if (isStdin && !(::fstat(STDIN_FILENO, &st) == 0 && S_ISREG(st.st_mode))) {
        return {};
    }
    auto follower = std::make_unique<LogFollower>(isStdin ? std::string(kStdinPath) : name);
    const int error = follower->start(isStdin ? ::lseek(STDIN_FILENO, 0, SEEK_CUR) : 0);
    if (error == kNotRegularFile || (isStdin && error != 0)) {
        return {};
    }
    if (error != 0) {
        ReportError((error == kWideText ? "could not follow " : "could not open ") + name + ": " +
                    FollowErrorText(error));
        return {nullptr, true};
    }
    return {std::move(follower), false};
}

}  // namespace pelorin::cli
