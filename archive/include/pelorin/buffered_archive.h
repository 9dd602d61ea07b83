#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "pelorin/archive_store.h"

namespace pelorin {

// Adds to an archive that may go away for a while, such as a server while a log is followed:
// the entries wait in memory, in order, and are written once it is back, tried again with a
// growing pause. The user is told once when it is lost and once when it is back. Past the
// bound the oldest waiting entries go to a second archive (the local file), with a message,
// rather than being dropped.
class BufferedArchive {
  public:
    using Clock = std::chrono::steady_clock;
    using Opener = std::function<std::unique_ptr<ArchiveStore>()>;
    using Tell = std::function<void(const std::string&)>;

    struct Limits {
        std::size_t maxWaiting = 100'000;  // entries, about 50 MB
        Clock::duration firstPause = std::chrono::seconds(1);
        Clock::duration longestPause = std::chrono::seconds(60);
    };

    // `open` opens the archive (again); `overflow` the archive the oldest waiting entries go
    // to past the bound, named `overflowName` in the message. Each may throw ArchiveError.
    BufferedArchive(Opener open, Opener overflow, std::string overflowName, Tell tell,
                    Limits limits);

    // Queues `entries` and writes everything waiting when the archive is there or it is time
    // to try again; what was written in this call is returned. Never throws for a lost archive.
    AddCounts add(std::span<const ArchiveEntry> entries, Clock::time_point now = Clock::now());
    // At the end: writes what waits if the archive is there, else puts it in the second archive.
    AddCounts finish(Clock::time_point now = Clock::now());
    std::size_t waiting() const { return waiting_.size(); }
    bool lost() const { return lost_; }

  private:
    AddCounts writeWaiting(Clock::time_point now);
    void overflow(std::size_t count);

    Opener open_;
    Opener openOverflow_;
    std::string overflowName_;
    Tell tell_;
    Limits limits_;
    std::unique_ptr<ArchiveStore> store_;
    std::deque<ArchiveEntry> waiting_;
    bool lost_ = false;
    Clock::time_point nextTry_{};
    Clock::duration pause_;
};

// How a server archive at `location` is written to while a log is followed: through a buffer
// whose overflow is the default archive file. `tell` gets the buffer's messages.
std::unique_ptr<BufferedArchive> BufferServerArchive(const std::string& location,
                                                     BufferedArchive::Tell tell);

}  // namespace pelorin
