#include "fd_source.h"

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

}  // namespace pelorin::cli
