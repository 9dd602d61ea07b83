#include "decoder_run.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <system_error>

#include "csv_format.h"
#include "fd_source.h"
#include "jsonl_format.h"
#include "output_clash.h"
#include "pelorin/encoding_source.h"
#include "pelorin/follow_messages.h"
#include "pelorin/number_text.h"
#include "stop_signal.h"

namespace pelorin::cli {
namespace {

// Reads of 1 MB: fewer system calls, each of which costs about as much as decoding many lines.
constexpr std::size_t kReadBytes = std::size_t{1} << 20;

std::unique_ptr<RecordFormat> makeFormat(const Options& o, const LimitTable* limits) {
    if (o.format == OutputFormat::Jsonl) {
        return std::make_unique<JsonlFormat>(limits);
    }
    return std::make_unique<CsvFormat>(o.decimalComma ? "," : ".",
                                       o.csvForm.value_or(CsvForm::Export));
}

std::string shownInputName(std::string_view name) {
    return name == kStdinName ? std::string("standard input") : std::string(name);
}

}  // namespace

DecoderRun::DecoderRun(const Options& options)
    : options_(options),
      format_(makeFormat(options, options.limitsPath ? &limits_ : nullptr)),
      sink_(options.outputPath, options.follow ? Delivery::AsRecordsArrive : Delivery::InBlocks),
      session_(*format_, options.limitsPath ? &limits_ : nullptr) {}

int DecoderRun::run() {
    if (const int status = refuseClash(); status != kExitOk) {
        return status;
    }
    if (!loadLimits()) {
        return kExitFailure;
    }
    const bool opened = wrote(sink_.open());
    if (!opened && !StopRequested()) {
        return kExitFailure;
    }
    bool inputFailed = false;
    if (opened) {  // else a stop came while a FIFO waited for its reader
        format_->appendHeader(sink_.buffer());
        inputFailed = wrote(sink_.endRecord()) && !decodeAll();
        finishOutput(inputFailed || StopRequested());
    }
    return finish(options_.quiet, outputFailed_ || inputFailed);
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
        ReportError("could not read the limits file " + path + ": " + ErrorReason(ENOENT));
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

int DecoderRun::refuseClash() const {
    switch (FindOutputClash(options_)) {
        case OutputClash::None:
            return kExitOk;
        case OutputClash::NamedInput:
            ReportError("the output file " + *options_.outputPath + " is also an input");
            return kExitUsage;
        case OutputClash::StandardInput:
            ReportError("the output file " + *options_.outputPath + " is also standard input");
            return kExitFailure;
    }
    return kExitFailure;
}

// True when every input was read to its end (or a stop cut the reading short).
bool DecoderRun::decodeAll() {
    const std::vector<std::string> stdinOnly{std::string(kStdinName)};
    return readInputs(options_.inputs.empty() ? stdinOnly : options_.inputs, options_.follow);
}

// What was written as the records came stays; a file written in blocks replaces its target
// only after a complete run; standard output keeps what came.
void DecoderRun::finishOutput(bool incomplete) {
    const bool keep = !incomplete || options_.follow || !options_.outputPath;
    if (outputFailed_ || !keep) {
        const bool changed = sink_.changedInPlace();
        sink_.abandon();
        if (!outputFailed_) {
            ReportError("the output file " + *options_.outputPath +
                        (changed ? " is incomplete: its folder takes no new file, so it was "
                                   "written in place"
                                 : " was left as it was"));
        }
    } else if (!wrote(sink_.finish())) {
        outputFailed_ = true;
    }
}

DecoderRun::InputEnd DecoderRun::readStream(int fd, const std::string& name) {
    FdSource file(fd);
    EncodingSource source(file);  // UTF-16 and UTF-32 text with a byte order mark, as UTF-8
    LineReader reader(source, kReadBytes);
    LineReader::Line line;
    LineReader::Status status = LineReader::Status::Line;
    for (;;) {
        if (StopRequested()) {
            return stopAt(reader.pendingBytes(), status == LineReader::Status::EndOfData, name);
        }
        switch (status = reader.next(line)) {
            case LineReader::Status::Line:
                if (!emitLine(line, name)) {
                    return outputFailed_ ? InputEnd::Failed : stopAt(0, false, name);
                }
                break;
            case LineReader::Status::Interrupted:
                break;
            case LineReader::Status::Error:
                ReportError("could not read " + name + ": " + ErrorReason(reader.error()));
                return InputEnd::Failed;
            case LineReader::Status::EndOfData:
                return (!reader.takeLast(line) || emitLine(line, name)) ? InputEnd::Done
                                                                        : InputEnd::Failed;
        }
    }
}

DecoderRun::InputEnd DecoderRun::followFile(LogFollower& follower, const std::string& name) {
    FollowBatch batch;
    for (;;) {
        if (StopRequested()) {
            return stopAt(follower.pendingBytes(), !batch.more, name);
        }
        follower.poll(batch);
        const std::optional<InputEnd> end =
            walkBatch(batch, name, [&](const FollowedLine& line) -> std::optional<InputEnd> {
                if (emitLine({batch.text(line), line.number}, name)) {
                    return std::nullopt;
                }
                return outputFailed_ ? InputEnd::Failed : stopAt(0, false, name);
            });
        if (end) {
            return *end;
        }
        if (!batch.more) {
            PauseBetweenPolls();
        }
    }
}

// At the end of what there is, the bytes held are a last line without its end; before it,
// they are lines still to be decoded.
DecoderRun::InputEnd DecoderRun::stopAt(std::int64_t pendingBytes, bool atEnd,
                                        std::string_view name) {
    if (atEnd) {
        pendingAtStop_ = pendingBytes;
    } else {
        stoppedIn_ = name;
    }
    return InputEnd::Stopped;
}

bool DecoderRun::emitLine(const LineReader::Line& line, std::string_view name) {
    return !session_.decodeLine(line, name, sink_.buffer()) || wrote(sink_.endRecord());
}

// Reports a failed write, unless it was a wait that a stop request cut short.
bool DecoderRun::wrote(const WriteResult& result) {
    if (result.ok) {
        return true;
    }
    if (result.code != EINTR || !StopRequested()) {
        ReportError(result.error);
        outputFailed_ = true;
    }
    return false;
}

void DecoderRun::printSummary() const {
    const DecodeCounts& c = session_.counts();
    ReportError(CountText(c.linesRead, "line") + " read, " +
                CountText(c.telemetryLines, "telemetry line") + " decoded, " +
                CountText(c.skippedLines(), "line") + " skipped");
    reportDamaged(c.damagedLines, " (the first at " + c.firstDamaged + ")");
    reportSuspect("decoded", c.suspectLines, " (the first at " + c.firstSuspect + ")");
    if (options_.limitsPath) {
        ReportError(CountText(c.outOfLimitsRecords, "record") + " with a value out of limits");
    }
    reportUnended("decoded");
    if (!stoppedIn_.empty()) {
        ReportError("interrupted before the end of " + shownInputName(stoppedIn_));
    }
}

}  // namespace pelorin::cli
