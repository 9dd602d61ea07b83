#include "exit_status.h"

#include "stop_signal.h"

namespace pelorin::cli {

int ExitStatus(bool failed) {
    if (StopRequested()) {
        return kExitSignalBase + StopSignal();
    }
    return failed ? kExitFailure : kExitOk;
}

}  // namespace pelorin::cli
