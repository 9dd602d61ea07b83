#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "error_report.h"
#include "pelorin/follow_messages.h"
#include "pelorin/log_follower.h"

namespace pelorin::cli {

// The system's words for the error number `error`.
std::string ErrorReason(int error);
// Waits between two polls of a followed file; a stop signal cuts the wait short.
void PauseBetweenPolls();

// The course that the programs' runs over their inputs share: the inputs in order, each opened
// and read, or followed when asked and it is a file; the follower's events said in their place
// among the lines; at the end the summary and the exit status. A stop signal ends the reading.
class InputRun {
  public:
    virtual ~InputRun() = default;

  protected:
    enum class InputEnd { Done, Failed, Stopped };

    // Reads `names` in order until one is stopped or ended() says so; false when one failed.
    bool readInputs(const std::vector<std::string>& names, bool follow);
    // The summary unless `quiet`, then the exit status.
    int finish(bool quiet, bool failed) const;

    // Says the events of `batch` before the lines they came before and hands each line to
    // `take`, which ends the batch by returning an end. Failed when the file could no longer be
    // read; nothing when all went on.
    template <typename Take>
    std::optional<InputEnd> walkBatch(const FollowBatch& batch, std::string_view name,
                                      Take take) const {
        std::size_t event = 0;
        for (std::size_t k = 0; k <= batch.lines.size(); ++k) {
            for (; event < batch.events.size() && batch.events[event].beforeLine == k; ++event) {
                ReportError(FollowEventMessage(batch.events[event], name));
                if (batch.events[event].kind == FollowEventKind::ReadFailed) {
                    return InputEnd::Failed;
                }
            }
            if (k < batch.lines.size()) {
                if (const std::optional<InputEnd> end = take(batch.lines[k])) {
                    return end;
                }
            }
        }
        return std::nullopt;
    }

    // The summary's lines that both programs write; `done` says what became of a line
    // ("decoded", "added").
    void reportDamaged(std::int64_t lines, const std::string& where) const;
    void reportSuspect(std::string_view done, std::int64_t lines, const std::string& where) const;
    void reportUnended(std::string_view done) const;

    // Reads an open input to its end, or to a stop.
    virtual InputEnd readStream(int fd, const std::string& name) = 0;
    virtual InputEnd followFile(LogFollower& follower, const std::string& name) = 0;
    // Whether the run must end before the next input (its output failed).
    virtual bool ended() const = 0;
    virtual void printSummary() const = 0;

    std::int64_t pendingAtStop_ = 0;  // bytes of a last line without its end
    std::string stoppedIn_;           // the input that a stop cut short

  private:
    InputEnd readInput(const std::string& name, bool follow);
};

}  // namespace pelorin::cli
