#pragma once

#include <string_view>

namespace pelorin {

// Tells a waiting call to give up; null when nothing ever asks it to.
using StopCheck = bool (*)();

// Writes all of `data` to the open file descriptor `fd`, going on after partial writes and
// interruptions, except that an interrupted write gives up with EINTR once `stopped` says so.
// Returns 0, or the system's error number of the write that failed.
int WriteAll(int fd, std::string_view data, StopCheck stopped = nullptr);

}  // namespace pelorin
