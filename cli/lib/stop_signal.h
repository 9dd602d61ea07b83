#pragma once

namespace pelorin::cli {

// Turns SIGINT, SIGTERM and SIGHUP into a stop request that the reading loops look at. A
// second signal of the same kind ends the program at once.
void InstallStopHandlers();
// True once a stop signal has arrived.
bool StopRequested();
// The signal that asked to stop, 0 if none.
int StopSignal();

}  // namespace pelorin::cli
