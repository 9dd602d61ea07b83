#include "add_run.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "error_report.h"
#include "fd_source.h"
#include "pelorin/archive_location.h"
#include "pelorin/encoding_source.h"
#include "pelorin/follow_messages.h"
#include "pelorin/number_text.h"
#include "stop_signal.h"

namespace pelorin::cli {
namespace {

// Large enough that a transaction's fixed cost vanishes, small enough that another writer
// waits for a few tens of milliseconds at most.
constexpr std::size_t kBatchEntries = 20'000;

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

}  // namespace

AddRun::AddRun(const ArchiveOptions& options, ArchiveStore& store)
    : options_(options), store_(store), ingest_(options.station) {}

int AddRun::run() {
    const bool inputFailed = !readInputs(options_.inputs, options_.follow);
    commit();
    if (buffer_) {
        added_ += buffer_->finish();
    }
    return finish(options_.quiet, archiveFailed_ || inputFailed);
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

AddRun::InputEnd AddRun::readStream(int fd, const std::string& name) {
    const std::string source = sourceName(name);
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
                            ": " + ErrorReason(reader.error()));
                return InputEnd::Failed;
            case LineReader::Status::EndOfData:
                if (reader.takeLast(line)) {
                    ingest_.addLine(line.text, source, line.number);
                }
                return InputEnd::Done;
        }
    }
}

// The lines already in the log when following starts were not heard now: only those that
// come after it get the time they were read. Each poll's frames are committed at once.
AddRun::InputEnd AddRun::followFile(LogFollower& follower, const std::string& name) {
    const std::string source = sourceName(name);
    const std::string location = ArchiveLocation(options_.archive);
    if (IsServerLocation(location)) {
        buffer_ =
            BufferServerArchive(location, [](const std::string& message) { ReportError(message); });
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
        const std::optional<InputEnd> end =
            walkBatch(batch, name, [&](const FollowedLine& line) -> std::optional<InputEnd> {
                ingest_.addLine(batch.text(line), source, line.number, readTime);
                return std::nullopt;
            });
        if (end) {
            commit();
            return *end;
        }
        if (!commit()) {
            return InputEnd::Failed;
        }
        caughtUp = caughtUp || !batch.more;
        if (!batch.more) {
            PauseBetweenPolls();
        }
    }
}

void AddRun::printSummary() const {
    const IngestCounts& c = ingest_.counts();
    ReportError(CountText(c.telemetryLines, "telemetry line") + ": " +
                CountText(added_.newFrames, "new frame") + ", " +
                CountText(added_.knownFrames, "frame") + " already archived, " +
                CountText(added_.newReceptions, "new reception"));
    reportDamaged(c.damagedLines, "");
    reportSuspect("added", c.suspectLines, "");
    reportUnended("added");
}

}  // namespace pelorin::cli
