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

constexpr std::string_view kStdinName = "-";
// What a regular file on standard input is opened again as, to be followed.
// Polling this often keeps a line's delay near 60 ms at no measurable idle cost.
constexpr long kFollowPollNanoseconds = 100'000'000;
// Reads of 1 MB: fewer system calls, each of which costs about as much as decoding many lines.
constexpr std::size_t kReadBytes = std::size_t{1} << 20;

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
    if (!options_.quiet) {
        printSummary();
    }
    if (StopRequested()) {
        return kExitSignalBase + StopSignal();
    }
    return (outputFailed_ || inputFailed) ? kExitFailure : kExitOk;
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
    bool allRead = true;
    for (const std::string& name : options_.inputs.empty() ? stdinOnly : options_.inputs) {
        const InputEnd end = decodeInput(name);
        allRead = allRead && end != InputEnd::Failed;
        if (end == InputEnd::Stopped || outputFailed_) {
            break;
        }
    }
    return allRead;
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

DecoderRun::InputEnd DecoderRun::decodeInput(const std::string& name) {
    if (options_.follow) {
        if (const std::optional<InputEnd> end = followIfFile(name)) {
            return *end;
        }
    }
    if (name == kStdinName) {
        return decodeStream(STDIN_FILENO, name);
    }
    const auto [fd, error] = OpenInputFile(name);
    if (fd < 0) {
        if (error == EINTR) {
            stoppedIn_ = name;
            return InputEnd::Stopped;
        }
        ReportError("could not open " + name + ": " + reason(error));
        return InputEnd::Failed;
    }
    const InputEnd end = decodeStream(fd, name);
    ::close(fd);
    return end;
}

DecoderRun::InputEnd DecoderRun::decodeStream(int fd, std::string_view name) {
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
                ReportError("could not read " + std::string(name) + ": " + reason(reader.error()));
                return InputEnd::Failed;
            case LineReader::Status::EndOfData:
                return (!reader.takeLast(line) || emitLine(line, name)) ? InputEnd::Done
                                                                        : InputEnd::Failed;
        }
    }
}

// A regular file is followed, through rotation and truncation; anything else (a FIFO, a
// terminal) has ended when its writer has, so it is read as any input. Nothing, then.
std::optional<DecoderRun::InputEnd> DecoderRun::followIfFile(const std::string& name) {
    const FollowStart start = StartFollowing(name);
    if (start.failed) {
        return InputEnd::Failed;
    }
    if (!start.follower) {
        return std::nullopt;
    }
    return followFile(*start.follower, name);
}

DecoderRun::InputEnd DecoderRun::followFile(LogFollower& follower, std::string_view name) {
    FollowBatch batch;
    for (;;) {
        if (StopRequested()) {
            return stopAt(follower.pendingBytes(), !batch.more, name);
        }
        follower.poll(batch);
        if (const std::optional<InputEnd> end = emitBatch(batch, name)) {
            return *end;
        }
        if (!batch.more) {
            pause();
        }
    }
}

// Decodes the lines and says the events, in their order; nothing while all goes on.
std::optional<DecoderRun::InputEnd> DecoderRun::emitBatch(const FollowBatch& batch,
                                                          std::string_view name) {
    std::size_t event = 0;
    for (std::size_t k = 0; k <= batch.lines.size(); ++k) {
        for (; event < batch.events.size() && batch.events[event].beforeLine == k; ++event) {
            ReportError(FollowEventMessage(batch.events[event], name));
            if (batch.events[event].kind == FollowEventKind::ReadFailed) {
                return InputEnd::Failed;
            }
        }
        if (k < batch.lines.size()) {
            const FollowedLine& line = batch.lines[k];
            if (!emitLine({batch.text(line), line.number}, name)) {
                return outputFailed_ ? InputEnd::Failed : stopAt(0, false, name);
            }
        }
    }
    return std::nullopt;
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
    if (pendingAtStop_ > 0) {
        ReportError("the last line (" + FormatInteger(pendingAtStop_) +
                    " bytes so far) had not ended and was not decoded");
    }
    if (!stoppedIn_.empty()) {
        ReportError("interrupted before the end of " + shownInputName(stoppedIn_));
    }
}

}  // namespace pelorin::cli
