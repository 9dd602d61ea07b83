#include "log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "pelorin/log_follower.h"

namespace pelorin {
namespace {

FileIdentity identityOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

}  // namespace

PathLook LookAtPath(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return {errno, {}};
    }
    return {S_ISREG(st.st_mode) ? 0 : kNotRegularFile, identityOf(st)};
}

LogFile::~LogFile() {
    close();
}

LogFile::LogFile(LogFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), identity_(other.identity_) {}

LogFile& LogFile::operator=(LogFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        identity_ = other.identity_;
    }
    return *this;
}

void LogFile::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

int LogFile::open(const std::string& path) {
    close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return errno;
    }
    struct stat st {};
    int error = 0;
    if (::fstat(fd, &st) != 0) {
        error = errno;
    } else if (!S_ISREG(st.st_mode)) {
        error = kNotRegularFile;
    }
    if (error != 0) {
        ::close(fd);
        return error;
    }
    fd_ = fd;
    identity_ = identityOf(st);
    return 0;
}

std::int64_t LogFile::size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        return -errno;
    }
    return static_cast<std::int64_t>(st.st_size);
}

ReadOutcome LogFile::readAt(char* buffer, std::size_t capacity, std::int64_t offset) const {
    for (;;) {  // a regular file's read is brief: one cut short by a signal is simply repeated
        const ssize_t n = ::pread(fd_, buffer, capacity, static_cast<off_t>(offset));
        if (n >= 0) {
            return {static_cast<std::size_t>(n), 0};
        }
        if (errno != EINTR) {
            return {0, errno};
        }
    }
}

}  // namespace pelorin
