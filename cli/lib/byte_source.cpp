#include "byte_source.h"

#include <unistd.h>

#include <cerrno>

namespace pelorin::cli {

ReadOutcome FdSource::read(char* buffer, std::size_t capacity) {
    const ssize_t n = ::read(fd_, buffer, capacity);
    if (n < 0) {
        return {0, errno};
    }
    offset_ += n;
    return {static_cast<std::size_t>(n), 0};
}

bool FdSource::rewind() {
    if (::lseek(fd_, 0, SEEK_SET) != 0) {
        return false;
    }
    offset_ = 0;
    return true;
}

}  // namespace pelorin::cli
