#pragma once

#include <filesystem>

namespace pelorin {

// Temporary files that must not outlive the process however it ends, short of SIGKILL.

// Notes a temporary file for removal on a fatal signal; false if there is no room to note it
// (a few at a time, names shorter than PATH_MAX).
bool RegisterTemporary(const std::filesystem::path& path);
// Forgets a temporary that was removed or renamed.
void ForgetTemporary(const std::filesystem::path& path);
// Removes every noted temporary. Safe to call from a signal handler.
void RemoveRegisteredTemporaries();

// For the whole program: a file-size limit becomes a write error (EFBIG) instead of a signal
// that kills, and every signal that would end the program without a handler of its own first
// removes the noted temporaries. Call once at start, after installing the program's handlers.
void ProtectTemporaryFiles();

}  // namespace pelorin
