#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "decode_session.h"
#include "error_report.h"
#include "exit_status.h"
#include "input_run.h"
#include "options.h"
#include "output_sink.h"
#include "pelorin/limits.h"
#include "pelorin/log_follower.h"
#include "record_format.h"

namespace pelorin::cli {

// One run of the command-line decoder over its inputs: reads them in order (following the one
// input if asked), decodes, writes the output, and says on standard error what went wrong and,
// unless quiet, what was decoded. A stop signal ends it wherever it is.
class DecoderRun final : public InputRun {
  public:
    explicit DecoderRun(const Options& options);
    // The exit status.
    int run();

  private:
    bool loadLimits();
    int refuseClash() const;
    bool decodeAll();
    void finishOutput(bool incomplete);

    InputEnd readStream(int fd, const std::string& name) override;
    InputEnd followFile(LogFollower& follower, const std::string& name) override;
    bool ended() const override { return outputFailed_; }
    void printSummary() const override;

    InputEnd stopAt(std::int64_t pendingBytes, bool atEnd, std::string_view name);
    bool emitLine(const LineReader::Line& line, std::string_view name);
    bool wrote(const WriteResult& result);

    const Options& options_;
    LimitTable limits_{};  // read by run() before the first record
    std::unique_ptr<RecordFormat> format_;
    OutputSink sink_;
    DecodeSession session_;
    bool outputFailed_ = false;
};

}  // namespace pelorin::cli
