#include "decoder_run.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "byte_source.h"
#include "csv_format.h"
#include "jsonl_format.h"
#include "pelorin/number_text.h"
#include "stop_signal.h"

namespace pelorin::cli {
namespace {

constexpr std::string_view kProgram = "pelorin-decode: ";
constexpr std::string_view kStdinName = "-";
constexpr long kFollowPollNanoseconds = 100'000'000;

std::unique_ptr<RecordFormat> makeFormat(const Options& o, const LimitTable* limits) {
    if (o.format == OutputFormat::Jsonl) {
        return std::make_unique<JsonlFormat>(limits);
    }
    return std::make_unique<CsvFormat>(o.decimalComma ? "," : ".",
                                       o.csvForm.value_or(CsvForm::Export));
}

std::string reason(int error) {
    return std::generic_category().message(error);
}

// Sleeps a little; a stop signal cuts it short.
void pause() {
    const timespec interval{0, kFollowPollNanoseconds};
    ::nanosleep(&interval, nullptr);
}

// "1 line", "2 lines".
std::string count(std::int64_t n, std::string_view noun) {
    std::string text = FormatInteger(n);
    text.append(" ").append(noun);
    if (n != 1) {
        text.push_back('s');
    }
    return text;
}

bool wasTruncated(int fd, std::int64_t offset) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size < offset;
}

}  // namespace

void ReportError(std::string_view message) {
    std::string line(kProgram);
    line.append(message).push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stderr);
}

DecoderRun::DecoderRun(const Options& options)
    : options_(options),
      format_(makeFormat(options, options.limitsPath ? &limits_ : nullptr)),
      sink_(options.outputPath ? OutputSink(*options.outputPath) : OutputSink()),
      session_(*format_, options.limitsPath ? &limits_ : nullptr) {}

int DecoderRun::run() {
    if (outputIsAnInput()) {
        ReportError("the output file " + *options_.outputPath + " is also an input");
        return kExitUsage;
    }
    if (!loadLimits()) {
        return kExitFailure;
    }
    if (WriteResult r = sink_.open(); !r.ok) {
        ReportError(r.error);
        return kExitFailure;
    }
    format_->appendHeader(sink_.buffer());
    const RunEnd end = decodeAll();
    // A file replaces its target only after a complete run; standard output keeps what came.
    finishOutput(end.inputFailed || (end.stopped && !options_.follow));
    if (!options_.quiet) {
        printSummary(pendingAtStop_);
    }
    return (outputFailed_ || end.inputFailed) ? kExitFailure : kExitOk;
}

// Bad entries are reported and ignored, as in the window; a file that cannot be used at all is
// an error, since the output would silently lack what was asked for.
bool DecoderRun::loadLimits() {
    if (!options_.limitsPath) {
        return true;
    }
    const std::string& path = *options_.limitsPath;
    const LimitsLoad load = LoadLimitsFile(path);
    if (load.missing) {
        ReportError("could not read the limits file " + path + ": " + reason(ENOENT));
        return false;
    }
    for (const LimitsWarning& warning : load.warnings) {
        ReportError(FormatLimitsWarning(path, warning));
        if (warning.line == 0) {
            ReportError("the limits file could not be used; nothing was decoded");
            return false;
        }
    }
    limits_ = load.limits;
    return true;
}

DecoderRun::RunEnd DecoderRun::decodeAll() {
    const std::vector<std::string> stdinOnly{std::string(kStdinName)};
    RunEnd runEnd;
    for (const std::string& name : options_.inputs.empty() ? stdinOnly : options_.inputs) {
        const InputEnd end = decodeInput(name);
        runEnd.inputFailed = runEnd.inputFailed || end == InputEnd::Failed;
        runEnd.stopped = end == InputEnd::Stopped;
        if (runEnd.stopped || outputFailed_) {
            break;
        }
    }
    return runEnd;
}

void DecoderRun::finishOutput(bool incomplete) {
    if (outputFailed_ || (incomplete && options_.outputPath)) {
        sink_.abandon();
        if (!outputFailed_) {
            ReportError("the output file " + *options_.outputPath + " was left as it was");
        }
    } else if (WriteResult r = sink_.finish(); !r.ok) {
        ReportError(r.error);
        outputFailed_ = true;
    }
}

bool DecoderRun::outputIsAnInput() const {
    if (!options_.outputPath) {
        return false;
    }
    std::error_code ec;
    for (const std::string& name : options_.inputs) {
        if (name != kStdinName && std::filesystem::equivalent(name, *options_.outputPath, ec)) {
            return true;
        }
    }
    return false;
}

DecoderRun::InputEnd DecoderRun::decodeInput(const std::string& name) {
    if (name == kStdinName) {
        return decodeStream(STDIN_FILENO, name);
    }
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ReportError("could not open " + name + ": " + reason(errno));
        return InputEnd::Failed;
    }
    const InputEnd end = decodeStream(fd, name);
    ::close(fd);
    return end;
}

DecoderRun::InputEnd DecoderRun::decodeStream(int fd, std::string_view name) {
    FdSource source(fd);
    LineReader reader(source);
    LineReader::Line line;
    for (;;) {
        if (StopRequested()) {
            pendingAtStop_ = reader.pendingBytes();
            return InputEnd::Stopped;
        }
        switch (reader.next(line)) {
            case LineReader::Status::Line:
                if (!emitLine(line, name)) {
                    return InputEnd::Failed;
                }
                break;
            case LineReader::Status::Interrupted:
                break;
            case LineReader::Status::Error:
                ReportError("could not read " + std::string(name) + ": " + reason(reader.error()));
                return InputEnd::Failed;
            case LineReader::Status::EndOfData:
                if (!options_.follow) {
                    return (!reader.takeLast(line) || emitLine(line, name)) ? InputEnd::Done
                                                                            : InputEnd::Failed;
                }
                if (!flushOutput()) {
                    return InputEnd::Failed;
                }
                pause();
                if (wasTruncated(fd, source.offset()) && source.rewind()) {
                    ReportError(std::string(name) + " was truncated; decoding it from the start");
                    reader.restart();
                }
                break;
        }
    }
}

bool DecoderRun::emitLine(const LineReader::Line& line, std::string_view name) {
    if (!session_.decodeLine(line, name, sink_.buffer())) {
        return true;
    }
    if (options_.follow) {
        return flushOutput();
    }
    if (WriteResult r = sink_.writeIfFull(); !r.ok) {
        ReportError(r.error);
        outputFailed_ = true;
        return false;
    }
    return true;
}

bool DecoderRun::flushOutput() {
    if (WriteResult r = sink_.flush(); !r.ok) {
        ReportError(r.error);
        outputFailed_ = true;
        return false;
    }
    return true;
}

void DecoderRun::printSummary(std::int64_t pendingBytes) const {
    const DecodeCounts& c = session_.counts();
    ReportError(count(c.linesRead, "line") + " read, " + count(c.telemetryLines, "telemetry line") +
                " decoded, " + count(c.skippedLines(), "line") + " skipped");
    if (c.damagedLines > 0) {
        ReportError("skipped as damaged: " + count(c.damagedLines, "line") +
                    " with the frame marker but not 122 characters long from it on (the "
                    "first at " +
                    c.firstDamaged + ")");
    }
    if (c.suspectLines > 0) {
        ReportError("decoded with non-hex characters among the digits: " +
                    count(c.suspectLines, "telemetry line") +
                    ", values not to be trusted (the "
                    "first at " +
                    c.firstSuspect + ")");
    }
    if (options_.limitsPath) {
        ReportError(count(c.outOfLimitsRecords, "record") + " with a value out of limits");
    }
    if (pendingBytes > 0) {
        ReportError("the last line (" + FormatInteger(pendingBytes) +
                    " bytes so far) had not ended and was not decoded");
    }
}

}  // namespace pelorin::cli
