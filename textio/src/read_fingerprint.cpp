#include "read_fingerprint.h"

#include <algorithm>

namespace pelorin {
namespace {

constexpr auto kPrintBytes = static_cast<std::int64_t>(ReadFingerprint::kBytes);

// The bytes of `file` at `offset`, fewer where it ends or cannot be read.
std::string bytesAt(const LogFile& file, std::int64_t offset, std::size_t size) {
    std::string bytes(size, '\0');
    const ReadOutcome got = file.readAt(bytes.data(), size, offset);
    bytes.resize(got.bytes);
    return bytes;
}

}  // namespace

void ReadFingerprint::clear() {
    head_.clear();
    tail_.clear();
    end_ = 0;
}

void ReadFingerprint::note(std::string_view bytes, std::int64_t offset) {
    if (offset < kPrintBytes) {
        head_.append(bytes.substr(0, static_cast<std::size_t>(kPrintBytes - offset)));
    }
    if (bytes.size() >= kBytes) {
        tail_.assign(bytes.substr(bytes.size() - kBytes));
    } else {
        tail_.append(bytes);
        tail_.erase(0, tail_.size() - std::min(tail_.size(), kBytes));
    }
    end_ = offset + static_cast<std::int64_t>(bytes.size());
}

void ReadFingerprint::capture(const LogFile& file, std::int64_t offset) {
    head_ = bytesAt(file, 0, static_cast<std::size_t>(std::min(offset, kPrintBytes)));
    const std::int64_t tailStart = std::max<std::int64_t>(0, offset - kPrintBytes);
    tail_ = bytesAt(file, tailStart, static_cast<std::size_t>(offset - tailStart));
    end_ = offset;
}

bool ReadFingerprint::heldBy(const LogFile& file) const {
    if (bytesAt(file, 0, head_.size()) != head_) {
        return false;
    }
    // Within the first kBytes the tail is part of the head.
    return end_ <= kPrintBytes ||
           bytesAt(file, end_ - static_cast<std::int64_t>(tail_.size()), tail_.size()) == tail_;
}

}  // namespace pelorin
