#include "pelorin/log_follower.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <system_error>
#include <utility>

#include "log_file.h"
#include "pelorin/encoding_source.h"
#include "pelorin/line_reader.h"
#include "read_fingerprint.h"

namespace pelorin {
namespace {

constexpr std::size_t kWideMarkBytes = 4;  // enough to tell a byte order mark

bool namesNothing(int error) {
    return error == ENOENT || error == ENOTDIR;
}

// Whether the open `file` starts with the byte order mark of UTF-16 or UTF-32 text.
bool holdsWideText(const LogFile& file) {
    std::array<char, kWideMarkBytes> first{};
    const ReadOutcome got = file.readAt(first.data(), first.size(), 0);
    return IsWideText(std::string_view(first.data(), got.bytes));
}

// Reads the open file from the place reading has reached, within the poll's byte budget, and
// keeps the fingerprint of what it read.
class FileSource final : public ByteSource {
  public:
    FileSource(const LogFile& file, ReadFingerprint& print) : file_(file), print_(print) {}

    ReadOutcome read(char* buffer, std::size_t capacity) override {
        const ReadOutcome got = file_.readAt(buffer, std::min(capacity, budget_), offset_);
        print_.note(std::string_view(buffer, got.bytes), offset_);
        offset_ += static_cast<std::int64_t>(got.bytes);
        budget_ -= got.bytes;
        return got;
    }
    void startAt(std::int64_t offset) { offset_ = offset; }
    std::int64_t offset() const { return offset_; }
    void setBudget(std::size_t bytes) { budget_ = bytes; }
    bool budgetSpent() const { return budget_ == 0; }

  private:
    const LogFile& file_;
    ReadFingerprint& print_;
    std::int64_t offset_ = 0;
    std::size_t budget_ = 0;
};

}  // namespace

void FollowBatch::clear() {
    bytes.clear();
    lines.clear();
    events.clear();
    more = false;
}

struct LogFollower::State {
    explicit State(std::string followed) : path(std::move(followed)) {}

    void restartAt(std::int64_t offset);
    void add(FollowBatch& batch, const LineReader::Line& line);
    void say(FollowBatch& batch, FollowEventKind kind, int error = 0);
    void sayProblem(FollowBatch& batch, FollowEventKind kind, int error);
    bool checkTruncation(FollowBatch& batch);
    bool readLines(FollowBatch& batch);
    void followPath(FollowBatch& batch);
    void switchTo(LogFile next, FollowBatch& batch);

    std::string path;
    LogFile file;
    ReadFingerprint print;
    FileSource source{file, print};
    LineReader reader{source};
    bool failed = false;
    // Missing or Unfollowable, with its error, once said and until the path names a file again.
    std::optional<std::pair<FollowEventKind, int>> problem;
};

void LogFollower::State::restartAt(std::int64_t offset) {
    source.startAt(offset);
    reader.restart();
}

void LogFollower::State::add(FollowBatch& batch, const LineReader::Line& line) {
    batch.lines.push_back({line.number, batch.bytes.size(), line.text.size()});
    batch.bytes.append(line.text);
}

void LogFollower::State::say(FollowBatch& batch, FollowEventKind kind, int error) {
    batch.events.push_back({kind, error, batch.lines.size()});
    if (kind == FollowEventKind::ReadFailed) {
        failed = true;
    }
}

// Said once, however many polls find the path so.
void LogFollower::State::sayProblem(FollowBatch& batch, FollowEventKind kind, int error) {
    if (problem != std::pair{kind, error}) {
        problem = std::pair{kind, error};
        say(batch, kind, error);
    }
}

bool LogFollower::State::checkTruncation(FollowBatch& batch) {
    const std::int64_t size = file.size();
    if (size < 0) {
        say(batch, FollowEventKind::ReadFailed, static_cast<int>(-size));
        return false;
    }
    if (size < source.offset() || !print.heldBy(file)) {
        say(batch, FollowEventKind::Truncated);
        print.clear();
        restartAt(0);
    }
    return true;
}

// Hands out the complete lines up to the end of the file or of the budget; false on failure.
bool LogFollower::State::readLines(FollowBatch& batch) {
    LineReader::Line line;
    for (;;) {
        switch (reader.next(line)) {
            case LineReader::Status::Line:
                add(batch, line);
                break;
            case LineReader::Status::EndOfData:
                return true;
            case LineReader::Status::Interrupted:  // never: a file's read is repeated instead
            case LineReader::Status::Error:
                say(batch, FollowEventKind::ReadFailed, reader.error());
                return false;
        }
    }
}

// At the end of the open file: looks whether the path still names it.
void LogFollower::State::followPath(FollowBatch& batch) {
    const PathLook look = LookAtPath(path);
    LogFile next;
    int error = look.error;
    if (error == 0 && look.identity != file.identity()) {
        error = next.open(path);
        // The rule of start() holds for every file the path comes to name.
        if (error == 0 && holdsWideText(next)) {
            error = kWideText;
        }
    }
    if (error != 0) {
        sayProblem(batch,
                   namesNothing(error) ? FollowEventKind::Missing : FollowEventKind::Unfollowable,
                   namesNothing(error) ? 0 : error);
    } else if (next.isOpen() && next.identity() != file.identity()) {
        switchTo(std::move(next), batch);
    } else if (problem) {
        problem.reset();
        say(batch, FollowEventKind::Back);
    }
}

// What reached the old file before the switch is read first, its unended last line included.
void LogFollower::State::switchTo(LogFile next, FollowBatch& batch) {
    if (!readLines(batch) || source.budgetSpent()) {
        return;  // the next poll comes back here
    }
    LineReader::Line line;
    if (reader.takeLast(line)) {
        add(batch, line);
    }
    say(batch, problem ? FollowEventKind::Back : FollowEventKind::Rotated);
    problem.reset();
    file = std::move(next);
    print.clear();
    restartAt(0);
    readLines(batch);
}

LogFollower::LogFollower(std::string path) : state_(std::make_unique<State>(std::move(path))) {}

LogFollower::~LogFollower() = default;

int LogFollower::start(std::int64_t offset) {
    State& s = *state_;
    if (const int error = s.file.open(s.path); error != 0) {
        return error;
    }
    if (holdsWideText(s.file)) {
        s.file.close();
        return kWideText;
    }
    offset = std::max<std::int64_t>(offset, 0);
    s.failed = false;
    s.problem.reset();
    s.print.capture(s.file, offset);
    s.restartAt(offset);
    return 0;
}

void LogFollower::poll(FollowBatch& batch, std::size_t byteBudget) {
    batch.clear();
    State& s = *state_;
    if (s.failed || !s.file.isOpen()) {
        return;
    }
    s.source.setBudget(byteBudget);
    if (s.checkTruncation(batch) && s.readLines(batch) && !s.source.budgetSpent()) {
        s.followPath(batch);
    }
    batch.more = !s.failed && s.source.budgetSpent();
}

std::int64_t LogFollower::pendingBytes() const {
    return state_->reader.pendingBytes();
}

const std::string& LogFollower::path() const {
    return state_->path;
}

std::string FollowErrorText(int error) {
    if (error == kWideText) {
        return "it is UTF-16 or UTF-32 text, and logs are followed in UTF-8 only";
    }
    return error == kNotRegularFile ? std::string("not a regular file")
                                    : std::generic_category().message(error);
}

}  // namespace pelorin
