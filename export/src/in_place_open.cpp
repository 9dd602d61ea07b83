#include "in_place_open.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pelorin {

int OpenForWriting(const std::filesystem::path& path, int flags, mode_t mode, StopCheck stopped) {
    for (;;) {
        const int fd = ::open(path.c_str(), flags | O_WRONLY | O_CLOEXEC, mode);
        if (fd >= 0) {
            return fd;
        }
        if (errno != EINTR || (stopped != nullptr && stopped())) {
            return -errno;
        }
    }
}

int ConnectSocket(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof address.sun_path) {
        return -ENAMETOOLONG;
    }
    std::memcpy(address.sun_path, path.c_str(), path.native().size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -errno;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        return -error;
    }
    return fd;
}

int DuplicateForWriting(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY) {
        return -EBADF;
    }
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    return copy >= 0 ? copy : -errno;
}

}  // namespace pelorin
