#pragma once

#include <cstdint>

#include "pelorin/byte_source.h"

namespace pelorin::cli {

// Reads an open file descriptor; an interrupted read is reported as EINTR, not retried, so
// that the caller can look for a stop request. Once a stop is requested, every read reports
// EINTR without reading.
class FdSource final : public ByteSource {
  public:
    explicit FdSource(int fd) : fd_(fd) {}
    ReadOutcome read(char* buffer, std::size_t capacity) override;

    // Bytes read so far, which is the position in a regular file.
    std::int64_t offset() const { return offset_; }
    // Starts again from the beginning of the file (after it was truncated); false if impossible.
    bool rewind();

  private:
    int fd_;
    std::int64_t offset_ = 0;
};

}  // namespace pelorin::cli
