#include "add_run.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "decoder_run.h"
#include "error_report.h"
#include "fd_source.h"
#include "pelorin/archive_location.h"
#include "pelorin/encoding_source.h"
#include "pelorin/follow_messages.h"
#include "pelorin/number_text.h"
#include "stop_signal.h"

namespace pelorin::cli {
namespace {

constexpr std::string_view kStdinName = "-";
// Large enough that a transaction's fixed cost vanishes, small enough that another writer
// waits for a few tens of milliseconds at most.
constexpr std::size_t kBatchEntries = 20'000;
constexpr long kFollowPollNanoseconds = 100'000'000;

std::string reason(int error) {
    return std::generic_category().message(error);
}

std::string count(std::int64_t n, std::string_view noun) {
    std::string text = FormatInteger(n);
    text.append(" ").append(noun);
    if (n != 1) {
        text.push_back('s');
    }
    return text;
}

// Where the lines came from, as the archive keeps it: the log's absolute path, "-" for
// standard input.
std::string sourceName(const std::string& name) {
    if (name == kStdinName) {
        return name;
    }
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(name, ec);
    return ec ? name : absolute.lexically_normal().string();
}

void pause() {
    const timespec interval{0, kFollowPollNanoseconds};
    ::nanosleep(&interval, nullptr);
}

}  // namespace

AddRun::AddRun(const ArchiveOptions& options, ArchiveStore& store)
    : options_(options), store_(store), ingest_(options.station) {}

int AddRun::run() {
    bool inputFailed = false;
    for (const std::string& name : options_.inputs) {
        const InputEnd end = addInput(name);
        inputFailed = inputFailed || end == InputEnd::Failed;
        if (end == InputEnd::Stopped || archiveFailed_) {
            break;
        }
    }
    commit();
    if (buffer_) {
        added_ += buffer_->finish();
    }
    if (!options_.quiet) {
        printSummary();
    }
    if (StopRequested()) {
        return kExitSignalBase + StopSignal();
    }
    return (archiveFailed_ || inputFailed) ? kExitFailure : kExitOk;
}

// Adds what was gathered; false when the archive refused it, which ends the run.
bool AddRun::commit() {
    if (buffer_) {
        added_ += buffer_->add(ingest_.entries());
        ingest_.clearEntries();
        return true;
    }
    if (ingest_.entries().empty() || archiveFailed_) {
        return !archiveFailed_;
    }
    try {
        added_ += store_.add(ingest_.entries());
    } catch (const ArchiveError& error) {
        ReportError(error.what());
        ReportError("the archive keeps what was added before this batch");
        archiveFailed_ = true;
    }
    ingest_.clearEntries();
    return !archiveFailed_;
}

AddRun::InputEnd AddRun::addInput(const std::string& name) {
    const std::string source = sourceName(name);
    if (options_.follow) {
        if (const std::optional<InputEnd> end = followIfFile(name, source)) {
            return *end;
        }
    }
    if (name == kStdinName) {
        return addStream(STDIN_FILENO, source);
    }
    const auto [fd, error] = OpenInputFile(name);
    if (fd < 0) {
        if (error == EINTR) {
            return InputEnd::Stopped;
        }
        ReportError("could not open " + name + ": " + reason(error));
        return InputEnd::Failed;
    }
    const InputEnd end = addStream(fd, source);
    ::close(fd);
    return end;
}

AddRun::InputEnd AddRun::addStream(int fd, const std::string& source) {
    FdSource file(fd);
    EncodingSource text(file);
    LineReader reader(text);
    LineReader::Line line;
    for (;;) {
        if (StopRequested()) {
            return InputEnd::Stopped;
        }
        switch (reader.next(line)) {
            case LineReader::Status::Line:
                ingest_.addLine(line.text, source, line.number);
                if (ingest_.entries().size() >= kBatchEntries && !commit()) {
                    return InputEnd::Failed;
                }
                break;
            case LineReader::Status::Interrupted:
                break;
            case LineReader::Status::Error:
                ReportError("could not read " + (source == kStdinName ? "standard input" : source) +
                            ": " + reason(reader.error()));
                return InputEnd::Failed;
            case LineReader::Status::EndOfData:
                if (reader.takeLast(line)) {
                    ingest_.addLine(line.text, source, line.number);
                }
                return InputEnd::Done;
        }
    }
}

std::optional<AddRun::InputEnd> AddRun::followIfFile(const std::string& name,
                                                     const std::string& source) {
    const FollowStart start = StartFollowing(name);
    if (start.failed) {
        return InputEnd::Failed;
    }
    if (!start.follower) {
        return std::nullopt;
    }
    return followFile(*start.follower, name, source);
}

// The lines already in the log when following starts were not heard now: only those that
// come after it get the time they were read. Each poll's frames are committed at once.
AddRun::InputEnd AddRun::followFile(LogFollower& follower, const std::string& name,
                                    const std::string& source) {
    const std::string location = ArchiveLocation(options_.archive);
    if (IsServerLocation(location)) {
        const std::string local = DefaultArchiveFile();
        buffer_ = std::make_unique<BufferedArchive>(
            [location] { return OpenArchive(location, ArchiveAccess::Write); },
            [local] { return OpenArchive(local, ArchiveAccess::Write); }, local,
            [](const std::string& message) { ReportError(message); }, BufferedArchive::Limits{});
    }
    FollowBatch batch;
    bool caughtUp = false;
    for (;;) {
        if (StopRequested()) {
            pendingAtStop_ = follower.pendingBytes();
            return InputEnd::Stopped;
        }
        follower.poll(batch);
        const std::optional<UtcMillis> readTime =
            caughtUp ? std::optional<UtcMillis>(UtcNow()) : std::nullopt;
        std::size_t event = 0;
        for (std::size_t k = 0; k <= batch.lines.size(); ++k) {
            for (; event < batch.events.size() && batch.events[event].beforeLine == k; ++event) {
                ReportError(FollowEventMessage(batch.events[event], name));
                if (batch.events[event].kind == FollowEventKind::ReadFailed) {
                    commit();
                    return InputEnd::Failed;
                }
            }
            if (k < batch.lines.size()) {
                const FollowedLine& line = batch.lines[k];
                ingest_.addLine(batch.text(line), source, line.number, readTime);
            }
        }
        if (!commit()) {
            return InputEnd::Failed;
        }
        caughtUp = caughtUp || !batch.more;
        if (!batch.more) {
            pause();
        }
    }
}

void AddRun::printSummary() const {
    const IngestCounts& c = ingest_.counts();
    ReportError(count(c.telemetryLines, "telemetry line") + ": " +
                count(added_.newFrames, "new frame") + ", " + count(added_.knownFrames, "frame") +
                " already archived, " + count(added_.newReceptions, "new reception"));
    if (c.damagedLines > 0) {
        ReportError("skipped as damaged: " + count(c.damagedLines, "line") +
                    " with the frame marker but not 122 characters long from it on");
    }
    if (c.suspectLines > 0) {
        ReportError("added with non-hex characters among the digits: " +
                    count(c.suspectLines, "telemetry line") + ", values not to be trusted");
    }
    if (pendingAtStop_ > 0) {
        ReportError("the last line (" + FormatInteger(pendingAtStop_) +
                    " bytes so far) had not ended and was not added");
    }
}

}  // namespace pelorin::cli
