#pragma once

#include <string_view>

namespace pelorin {

// Writes all of `data` to the open file descriptor `fd`, going on after partial writes and
// interruptions. Returns 0, or the system's error number of the write that failed.
int WriteAll(int fd, std::string_view data);

}  // namespace pelorin
