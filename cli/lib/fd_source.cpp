#include "fd_source.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

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

}  // namespace pelorin::cli
