#pragma once

namespace pelorin::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // an input could not be read or the output written
inline constexpr int kExitUsage = 2;
inline constexpr int kExitSignalBase = 128;  // plus the number of the signal that stopped it

// The status a program ends with: the stop signal's when one came, else failure or success.
int ExitStatus(bool failed);

}  // namespace pelorin::cli
