#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

// Error number for a path that names something other than a regular file (a folder, a FIFO,
// a device): such a thing cannot be followed.
inline constexpr int kNotRegularFile = -1;
// A file of UTF-16 or UTF-32 text: a log is followed in UTF-8 only.
inline constexpr int kWideText = -2;

// What happened to the followed file between two lines.
enum class FollowEventKind {
    // The path names another file (rotation by renaming): the old file was read to its end,
    // and the lines after the event come from the new one, from its start.
    Rotated,
    // The file shrank, or bytes already read changed (copy-and-truncate): the lines after the
    // event come from its start again.
    Truncated,
    // The path names no file any more. The file already open is still read, and the path is
    // looked at again on every poll.
    Missing,
    // The path names something that cannot be followed (`error`: a system error number, or
    // kNotRegularFile, or kWideText for UTF-16 or UTF-32 text); handled as Missing.
    Unfollowable,
    // The path names a file again after Missing or Unfollowable. Unless it is the very file
    // that was open, that one was read to its end and the lines after the event come from the
    // new one, from its start.
    Back,
    // The file could not be read (`error`): nothing more comes.
    ReadFailed,
};

struct FollowEvent {
    FollowEventKind kind{};
    int error = 0;
    std::size_t beforeLine = 0;  // index in FollowBatch::lines of the first line after it
};

struct FollowedLine {
    // 1-based, counted from where reading of the current file began (the start offset, or the
    // file's start after Rotated, Truncated or Back).
    std::int64_t number = 0;
    std::size_t begin = 0;  // of its bytes in FollowBatch::bytes
    std::size_t size = 0;
};

// What one poll brought, in order: events[k] came just before lines[events[k].beforeLine].
struct FollowBatch {
    std::string bytes;  // the lines' bytes (UTF-8 as written, no line ends), one after another
    std::vector<FollowedLine> lines;
    std::vector<FollowEvent> events;
    // The poll stopped at its byte budget with more to read: poll again without waiting.
    bool more = false;

    // A line's bytes, or the excerpt that stands for a line too long to hold (see LineReader).
    std::string_view text(const FollowedLine& line) const {
        return std::string_view(bytes).substr(line.begin, line.size);
    }
    void clear();
};

// Follows the log file a path names, by polling, as `tail -F` does: hands out each complete
// line once it has ended (CR LF, LF or CR; a CR and an LF arriving in separate writes are one
// line end), in memory bounded whatever the length of a line. No call waits: the caller polls
// when it likes (every 100 ms keeps the delay of a line well under a quarter of a second).
//
// - Rotation by renaming, and deletion: when the path names another file (device and inode),
//   the old file is read to its end, then the new one from its start (Rotated). While the path
//   names nothing (Missing), the open file is still read and the path is looked at again on
//   every poll. The open file is held, so a new file cannot take over its inode unnoticed.
//   Lines written to the old file after the switch are not read.
// - Copy-and-truncate: the file is taken to be truncated (Truncated) when it is smaller than
//   the place reading has reached, or when the first 256 bytes read or the 256 bytes just
//   before that place are no longer there, also when it has grown past that place since. Its
//   change and modification times are not used: an append changes them as a truncation does,
//   and a program that writes its whole log again, unchanged, would look truncated and have
//   its lines read twice.
//   Undetectable: a truncation after which, before the next poll, the file is written past
//   that place with the same bytes at both spots (the same content written again): the lines
//   after that place are read as appended ones, and a change elsewhere before it is missed.
//   Lines written after the last poll and before the truncation are only in the copy.
class LogFollower {
  public:
    static constexpr std::size_t kPollBytes = std::size_t{1} << 20;

    explicit LogFollower(std::string path);
    ~LogFollower();
    LogFollower(const LogFollower&) = delete;
    LogFollower& operator=(const LogFollower&) = delete;

    // Opens the file and starts reading at byte `offset` (a line start, e.g. FindTailStart's).
    // 0, or the system's error number, or kNotRegularFile, or kWideText; nothing is followed
    // then.
    int start(std::int64_t offset = 0);
    // Clears `batch` and fills it with the lines completed and the events since the last poll,
    // reading at most about `byteBudget` bytes. Returns at once; does nothing before a
    // successful start() or after ReadFailed.
    void poll(FollowBatch& batch, std::size_t byteBudget = kPollBytes);
    // Bytes of a line begun but not ended, once a poll has read all there was.
    std::int64_t pendingBytes() const;
    const std::string& path() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// "not a regular file" for kNotRegularFile, the reason for kWideText, else the system's text
// for the error number.
std::string FollowErrorText(int error);

}  // namespace pelorin
