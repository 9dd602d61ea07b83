#include "pelorin/write_all.h"

#include <unistd.h>

#include <cerrno>

namespace pelorin {

int WriteAll(int fd, std::string_view data, StopCheck stopped) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            const int error = errno;
            if (error == EINTR && (stopped == nullptr || !stopped())) {
                continue;
            }
            return error;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

}  // namespace pelorin
