#include "stop_signal.h"

#include <time.h>

#include <csignal>
#include <initializer_list>

#include "pelorin/temporary_files.h"

namespace pelorin::cli {
namespace {

constexpr long kPokeNanoseconds = 100'000'000;

volatile std::sig_atomic_t gStopSignal = 0;
timer_t gPokeTimer{};
volatile std::sig_atomic_t gHavePokeTimer = 0;

extern "C" void onPoke(int /*signal*/) {}  // its only work is to interrupt a blocking call

extern "C" void onStopSignal(int signal) {
    if (gStopSignal != 0) {
        RemoveRegisteredTemporaries();
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    gStopSignal = signal;
    if (gHavePokeTimer != 0) {
        const itimerspec every{{0, kPokeNanoseconds}, {0, kPokeNanoseconds}};
        ::timer_settime(gPokeTimer, 0, &every, nullptr);
    }
}

// No SA_RESTART: a waiting call returns with EINTR, so the loops see the request at once.
void handle(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(signal, &action, nullptr);
}

}  // namespace

void InstallStopHandlers() {
    handle(SIGRTMIN, onPoke);
    sigevent poke{};
    poke.sigev_notify = SIGEV_SIGNAL;
    poke.sigev_signo = SIGRTMIN;
    gHavePokeTimer = ::timer_create(CLOCK_MONOTONIC, &poke, &gPokeTimer) == 0 ? 1 : 0;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        handle(signal, onStopSignal);
    }
}

bool StopRequested() {
    return gStopSignal != 0;
}

int StopSignal() {
    return gStopSignal;
}

}  // namespace pelorin::cli
