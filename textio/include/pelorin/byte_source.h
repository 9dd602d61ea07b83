#pragma once

#include <cstddef>

namespace pelorin {

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

}  // namespace pelorin
