#include "stop_signal.h"

#include <csignal>
#include <initializer_list>

namespace pelorin::cli {
namespace {

volatile std::sig_atomic_t gStopSignal = 0;

extern "C" void onStopSignal(int signal) {
    gStopSignal = signal;
}

}  // namespace

void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a waiting read or sleep returns, so the loops see the request at once.
    action.sa_flags = SA_RESETHAND;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

bool StopRequested() {
    return gStopSignal != 0;
}

int StopSignal() {
    return gStopSignal;
}

}  // namespace pelorin::cli
