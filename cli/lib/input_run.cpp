#include "input_run.h"

#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <system_error>

#include "exit_status.h"
#include "fd_source.h"
#include "pelorin/number_text.h"
#include "stop_signal.h"

namespace pelorin::cli {
namespace {

// Polling this often keeps a line's delay near 60 ms at no measurable idle cost.
constexpr long kFollowPollNanoseconds = 100'000'000;

}  // namespace

std::string ErrorReason(int error) {
    return std::generic_category().message(error);
}

void PauseBetweenPolls() {
    const timespec interval{0, kFollowPollNanoseconds};
    ::nanosleep(&interval, nullptr);
}

bool InputRun::readInputs(const std::vector<std::string>& names, bool follow) {
    bool allRead = true;
    for (const std::string& name : names) {
        const InputEnd end = readInput(name, follow);
        allRead = allRead && end != InputEnd::Failed;
        if (end == InputEnd::Stopped || ended()) {
            break;
        }
    }
    return allRead;
}

// A regular file is followed, through rotation and truncation; anything else (a FIFO, a
// terminal) has ended when its writer has, so it is read as any input.
InputRun::InputEnd InputRun::readInput(const std::string& name, bool follow) {
    if (follow) {
        const FollowStart start = StartFollowing(name);
        if (start.failed) {
            return InputEnd::Failed;
        }
        if (start.follower) {
            return followFile(*start.follower, name);
        }
    }
    if (name == kStdinName) {
        return readStream(STDIN_FILENO, name);
    }
    const auto [fd, error] = OpenInputFile(name);
    if (fd < 0) {
        if (error == EINTR) {
            stoppedIn_ = name;
            return InputEnd::Stopped;
        }
        ReportError("could not open " + name + ": " + ErrorReason(error));
        return InputEnd::Failed;
    }
    const InputEnd end = readStream(fd, name);
    ::close(fd);
    return end;
}

int InputRun::finish(bool quiet, bool failed) const {
    if (!quiet) {
        printSummary();
    }
    return ExitStatus(failed);
}

void InputRun::reportDamaged(std::int64_t lines, const std::string& where) const {
    if (lines > 0) {
        ReportError("skipped as damaged: " + CountText(lines, "line") +
                    " with the frame marker but not 122 characters long from it on" + where);
    }
}

void InputRun::reportSuspect(std::string_view done, std::int64_t lines,
                             const std::string& where) const {
    if (lines > 0) {
        ReportError(std::string(done) + " with non-hex characters among the digits: " +
                    CountText(lines, "telemetry line") + ", values not to be trusted" + where);
    }
}

void InputRun::reportUnended(std::string_view done) const {
    if (pendingAtStop_ > 0) {
        ReportError("the last line (" + FormatInteger(pendingAtStop_) +
                    " bytes so far) had not ended and was not " + std::string(done));
    }
}

}  // namespace pelorin::cli
