#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "pelorin/byte_source.h"
#include "pelorin/log_follower.h"

namespace pelorin::cli {

// The input name that stands for standard input.
inline constexpr std::string_view kStdinName = "-";

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

// An input file opened for reading: its descriptor, or -1 and the errno that refused it (EINTR:
// a stop was requested while a FIFO waited for its writer).
struct OpenedInput {
    int fd = -1;
    int error = 0;
};
OpenedInput OpenInputFile(const std::string& name);

// How following input `name` ("-": standard input) begins: with a follower that follows it; with
// none when it is no regular file, to be read as any input (a FIFO, a terminal); or failed, with
// the reason already reported.
struct FollowStart {
    std::unique_ptr<LogFollower> follower;
    bool failed = false;
};
FollowStart StartFollowing(const std::string& name);

}  // namespace pelorin::cli
