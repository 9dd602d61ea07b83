#pragma once

#include <sys/types.h>

#include <filesystem>

#include "pelorin/write_all.h"

namespace pelorin {

// Opening outputs that are written where they are rather than replaced. Each returns an open
// descriptor (close-on-exec), or the system's error number negated.

// open() with `flags` (O_WRONLY and O_CLOEXEC added), tried again after an interruption unless
// `stopped` says to give up. A FIFO waits here for its reader.
int OpenForWriting(const std::filesystem::path& path, int flags, mode_t mode, StopCheck stopped);
// A stream connection to the local socket at `path`.
int ConnectSocket(const std::filesystem::path& path);
// A second descriptor for the process's own `fd`, sharing its position and append mode; EBADF
// if `fd` is not open for writing.
int DuplicateForWriting(int fd);

}  // namespace pelorin
