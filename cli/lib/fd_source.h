#pragma once

#include "pelorin/byte_source.h"

namespace pelorin::cli {

// Reads an open file descriptor; an interrupted read is reported as EINTR, not retried, so
// that the caller can look for a stop request. Once a stop is requested, every read reports
// EINTR without reading.
class FdSource final : public ByteSource {
  public:
    explicit FdSource(int fd) : fd_(fd) {}
    ReadOutcome read(char* buffer, std::size_t capacity) override;

  private:
    int fd_;
};

}  // namespace pelorin::cli
