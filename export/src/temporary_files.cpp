#include "pelorin/temporary_files.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>

namespace pelorin {
namespace {

enum SlotState : int { kFree, kFilling, kReady };

// Fixed storage that a signal handler can read without allocating or locking.
struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX] = {};
};

constexpr std::size_t kSlots = 4;
std::array<Slot, kSlots> gSlots;

// The signals whose default action ends the process (SIGKILL and SIGSTOP cannot be caught,
// SIGXFSZ is ignored instead).
constexpr int kFatalSignals[] = {
    SIGHUP,  SIGINT,    SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,
    SIGFPE,  SIGUSR1,   SIGSEGV, SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
    SIGXCPU, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS,  SIGSTKFLT,
};

extern "C" void onFatalSignal(int signal) {
    RemoveRegisteredTemporaries();
    // The handler was reset to the default on entry: the signal now ends the process.
    ::raise(signal);
}

}  // namespace

bool RegisterTemporary(const std::filesystem::path& path) {
    const std::string& name = path.native();
    if (name.size() >= PATH_MAX) {
        return false;
    }
    for (Slot& slot : gSlots) {
        int expected = kFree;
        if (slot.state.compare_exchange_strong(expected, kFilling)) {
            std::memcpy(slot.path, name.c_str(), name.size() + 1);
            slot.state.store(kReady);
            return true;
        }
    }
    return false;
}

void ForgetTemporary(const std::filesystem::path& path) {
    for (Slot& slot : gSlots) {
        if (slot.state.load() == kReady && path.native() == slot.path) {
            slot.state.store(kFree);
        }
    }
}

void RemoveRegisteredTemporaries() {
    for (Slot& slot : gSlots) {
        if (slot.state.load() == kReady) {
            ::unlink(slot.path);
        }
    }
}

void ProtectTemporaryFiles() {
    std::signal(SIGXFSZ, SIG_IGN);
    struct sigaction action {};
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    for (const int signal : kFatalSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
            ::sigaction(signal, &action, nullptr);
        }
    }
}

}  // namespace pelorin
