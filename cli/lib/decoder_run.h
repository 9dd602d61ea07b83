#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "decode_session.h"
#include "options.h"
#include "output_sink.h"
#include "pelorin/limits.h"
#include "record_format.h"

namespace pelorin::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // an input could not be read or the output written
inline constexpr int kExitUsage = 2;

// One run of the command-line decoder over its inputs: reads them in order (following the one
// input if asked), decodes, writes the output, and says on standard error what went wrong and,
// unless quiet, what was decoded.
class DecoderRun {
  public:
    explicit DecoderRun(const Options& options);
    // The exit status.
    int run();

  private:
    enum class InputEnd { Done, Failed, Stopped };
    struct RunEnd {
        bool inputFailed = false;
        bool stopped = false;  // by a stop signal
    };

    bool loadLimits();
    RunEnd decodeAll();
    void finishOutput(bool incomplete);

    InputEnd decodeInput(const std::string& name);
    InputEnd decodeStream(int fd, std::string_view name);
    bool emitLine(const LineReader::Line& line, std::string_view name);
    bool flushOutput();
    bool outputIsAnInput() const;
    void printSummary(std::int64_t pendingBytes) const;

    const Options& options_;
    LimitTable limits_{};  // read by run() before the first record
    std::unique_ptr<RecordFormat> format_;
    OutputSink sink_;
    DecodeSession session_;
    bool outputFailed_ = false;
    std::int64_t pendingAtStop_ = 0;
};

// Writes "pelorin-decode: " and `message` as a line to standard error.
void ReportError(std::string_view message);

}  // namespace pelorin::cli
