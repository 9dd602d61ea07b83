#include "pelorin/buffered_archive.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "pelorin/archive_location.h"
#include "pelorin/number_text.h"

namespace pelorin {
namespace {

// Entries written in one transaction while catching up.
constexpr std::size_t kCatchUpBatch = 20'000;

}  // namespace

BufferedArchive::BufferedArchive(Opener open, Opener overflow, std::string overflowName, Tell tell,
                                 Limits limits)
    : open_(std::move(open)),
      openOverflow_(std::move(overflow)),
      overflowName_(std::move(overflowName)),
      tell_(std::move(tell)),
      limits_(limits),
      pause_(limits.firstPause) {}

AddCounts BufferedArchive::add(std::span<const ArchiveEntry> entries, Clock::time_point now) {
    waiting_.insert(waiting_.end(), entries.begin(), entries.end());
    if (waiting_.size() > limits_.maxWaiting) {
        overflow(waiting_.size() - limits_.maxWaiting);
    }
    if (waiting_.empty() || (lost_ && now < nextTry_)) {
        return {};
    }
    return writeWaiting(now);
}

AddCounts BufferedArchive::finish(Clock::time_point now) {
    const AddCounts written = waiting_.empty() ? AddCounts{} : writeWaiting(now);
    if (!waiting_.empty()) {
        overflow(waiting_.size());
    }
    return written;
}

// Writes the waiting entries oldest first, each batch one transaction, so that whatever
// failed is still waiting and a batch written twice (its answer lost) adds nothing twice.
AddCounts BufferedArchive::writeWaiting(Clock::time_point now) {
    AddCounts written;
    try {
        if (!store_) {
            store_ = open_();
        }
        while (!waiting_.empty()) {
            const std::size_t n = std::min(waiting_.size(), kCatchUpBatch);
            const std::vector<ArchiveEntry> batch(
                waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(n));
            written += store_->add(batch);
            waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(n));
        }
    } catch (const ArchiveError& error) {
        store_.reset();
        if (!lost_) {
            tell_(std::string(error.what()) + "; frames wait in memory until it is back");
            lost_ = true;
            pause_ = limits_.firstPause;
        } else {
            pause_ = std::min(pause_ * 2, limits_.longestPause);
        }
        nextTry_ = now + pause_;
        return written;
    }
    if (lost_) {
        lost_ = false;
        tell_("the archive is back; the frames that waited are written");
    }
    return written;
}

// The oldest entries past the bound go to the local archive in one transaction; should that
// fail too they stay waiting, since memory is the last place left.
void BufferedArchive::overflow(std::size_t n) {
    const std::vector<ArchiveEntry> oldest(waiting_.begin(),
                                           waiting_.begin() + static_cast<std::ptrdiff_t>(n));
    try {
        openOverflow_()->add(oldest);
    } catch (const ArchiveError& error) {
        tell_(std::string(error.what()) + "; the frames keep waiting in memory");
        return;
    }
    waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(n));
    tell_(FormatInteger(static_cast<std::int64_t>(n)) + " waiting frames went to " + overflowName_ +
          " (pelorin-archive push adds them to the archive later)");
}

std::unique_ptr<BufferedArchive> BufferServerArchive(const std::string& location,
                                                     BufferedArchive::Tell tell) {
    const std::string local = DefaultArchiveFile();
    return std::make_unique<BufferedArchive>(
        [location] { return OpenArchive(location, ArchiveAccess::Write); },
        [local] { return OpenArchive(local, ArchiveAccess::Write); }, local, std::move(tell),
        BufferedArchive::Limits{});
}

}  // namespace pelorin
