#pragma once

#include <cstddef>
#include <cstdint>

namespace pelorin::cli {

// What one read brought: `bytes` read, or the system's error number. Zero bytes and no error
// mean that nothing more is there for now (end of file, or of the pipe).
struct ReadOutcome {
    std::size_t bytes = 0;
    int error = 0;
};

// Where the line reader gets its bytes from.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual ReadOutcome read(char* buffer, std::size_t capacity) = 0;
};

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
