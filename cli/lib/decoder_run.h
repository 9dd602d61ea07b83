#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "decode_session.h"
#include "error_report.h"
#include "options.h"
#include "output_sink.h"
#include "pelorin/limits.h"
#include "pelorin/log_follower.h"
#include "record_format.h"

namespace pelorin::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // an input could not be read or the output written
inline constexpr int kExitUsage = 2;
inline constexpr int kExitSignalBase = 128;  // plus the number of the signal that stopped it

// One run of the command-line decoder over its inputs: reads them in order (following the one
// input if asked), decodes, writes the output, and says on standard error what went wrong and,
// unless quiet, what was decoded. A stop signal ends it wherever it is.
class DecoderRun {
  public:
    explicit DecoderRun(const Options& options);
    // The exit status.
    int run();

  private:
    enum class InputEnd { Done, Failed, Stopped };

    bool loadLimits();
    int refuseClash() const;
    bool decodeAll();
    void finishOutput(bool incomplete);

    InputEnd decodeInput(const std::string& name);
    InputEnd decodeStream(int fd, std::string_view name);
    std::optional<InputEnd> followIfFile(const std::string& name);
    InputEnd followFile(LogFollower& follower, std::string_view name);
    std::optional<InputEnd> emitBatch(const FollowBatch& batch, std::string_view name);
    InputEnd stopAt(std::int64_t pendingBytes, bool atEnd, std::string_view name);
    bool emitLine(const LineReader::Line& line, std::string_view name);
    bool wrote(const WriteResult& result);
    void printSummary() const;

    const Options& options_;
    LimitTable limits_{};  // read by run() before the first record
    std::unique_ptr<RecordFormat> format_;
    OutputSink sink_;
    DecodeSession session_;
    bool outputFailed_ = false;
    std::int64_t pendingAtStop_ = 0;  // bytes of a last line without its end
    std::string stoppedIn_;           // the input that a stop cut short
};

}  // namespace pelorin::cli
