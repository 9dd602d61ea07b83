#pragma once

namespace pelorin::cli {

// Turns SIGINT, SIGTERM and SIGHUP into a stop request that the reading and writing loops look
// at. From the request on, a timer interrupts every blocking call ten times a second, so that
// no wait outlasts it, whichever call it was about to enter. A second stop signal ends the
// program at once, after removing its temporary files.
void InstallStopHandlers();
// True once a stop signal has arrived.
bool StopRequested();
// The signal that asked to stop, 0 if none.
int StopSignal();

}  // namespace pelorin::cli
