#include "pelorin/line_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "pelorin/frame_marker.h"
#include "pelorin/line_ends.h"
#include "pelorin/unicode_chars.h"

namespace pelorin {
namespace {

// From the marker on, this many bytes already make more than 122 characters, since a
// character takes at most four bytes: a line this long is damaged whatever follows.
constexpr std::size_t kDecisiveBytes = kUtf8MaxUnits * kFrameLength + 1;
// Without a marker, only the bytes that could begin one with what is still to come matter.
constexpr std::size_t kMarkerTailBytes = FrameMarker.size() - 1;

std::size_t findByte(const char* data, std::size_t from, std::size_t end, char byte) {
    const void* hit = std::memchr(data + from, byte, end - from);
    return hit == nullptr ? end : static_cast<std::size_t>(static_cast<const char*>(hit) - data);
}

}  // namespace

LineReader::LineReader(ByteSource& source, std::size_t bufferSize)
    : source_(source), buffer_(std::max(bufferSize, kMinBufferSize)) {}

std::size_t LineReader::findLineEnd() {
    if (!lfValid_ || nextLf_ < begin_) {
        nextLf_ = findByte(buffer_.data(), begin_, end_, kLineFeed);
        lfValid_ = true;
    }
    if (!crValid_ || nextCr_ < begin_) {
        nextCr_ = findByte(buffer_.data(), begin_, end_, kCarriageReturn);
        crValid_ = true;
    }
    return std::min(nextLf_, nextCr_);
}

LineReader::Status LineReader::next(Line& line) {
    for (;;) {
        if (lineEnds_.awaitingLineFeed() && begin_ < end_) {
            const bool lf = lineEnds_.completesPair(buffer_[begin_]);
            begin_ += lf ? 1 : 0;
            nextLineOffset_ += lf ? 1 : 0;
        }
        const std::size_t lineEnd = lineEnds_.awaitingLineFeed() ? end_ : findLineEnd();
        if (lineEnd < end_) {
            line.text = std::string_view(buffer_.data() + begin_, lineEnd - begin_);
            line.number = ++lineNumber_;
            line.offset = nextLineOffset_;
            // The bytes from the line end on were read after any compaction: contiguous.
            nextLineOffset_ = bytesRead_ - static_cast<std::int64_t>(end_ - lineEnd) + 1;
            lineEnds_.ended(buffer_[lineEnd]);
            begin_ = lineEnd + 1;
            droppedBytes_ = 0;
            return Status::Line;
        }
        if (const Status s = refill(); s != Status::Line) {
            return s;
        }
    }
}

// Makes room and reads more; Status::Line stands for "got more bytes".
LineReader::Status LineReader::refill() {
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) {
        compactLongLine();
    }
    forgetScan();
    const ReadOutcome got = source_.read(buffer_.data() + end_, buffer_.size() - end_);
    if (got.error != 0) {
        error_ = got.error;
        return got.error == EINTR ? Status::Interrupted : Status::Error;
    }
    if (got.bytes == 0) {
        return Status::EndOfData;
    }
    end_ += got.bytes;
    bytesRead_ += static_cast<std::int64_t>(got.bytes);
    return Status::Line;
}

// The buffer holds nothing but the beginning of one line: keeps only what still decides it.
void LineReader::compactLongLine() {
    const std::string_view held(buffer_.data(), end_);
    const std::size_t marker = FindFrameMarker(held);
    std::size_t keepFrom = 0;
    std::size_t keep = 0;
    if (marker == std::string_view::npos) {
        keepFrom = end_ - kMarkerTailBytes;
        keep = kMarkerTailBytes;
    } else {
        keepFrom = marker;
        keep = std::min(kDecisiveBytes, end_ - marker);
    }
    std::memmove(buffer_.data(), buffer_.data() + keepFrom, keep);
    droppedBytes_ += static_cast<std::int64_t>(end_ - keep);
    end_ = keep;
}

bool LineReader::takeLast(Line& line) {
    if (begin_ == end_ && droppedBytes_ == 0) {
        return false;
    }
    line.text = std::string_view(buffer_.data() + begin_, end_ - begin_);
    line.number = ++lineNumber_;
    line.offset = nextLineOffset_;
    nextLineOffset_ = bytesRead_;
    begin_ = end_;
    droppedBytes_ = 0;
    return true;
}

std::int64_t LineReader::pendingBytes() const {
    return droppedBytes_ + static_cast<std::int64_t>(end_ - begin_);
}

void LineReader::restart() {
    begin_ = end_ = 0;
    lineEnds_.reset();
    droppedBytes_ = 0;
    lineNumber_ = 0;
    bytesRead_ = nextLineOffset_ = 0;
    error_ = 0;
    forgetScan();
}

}  // namespace pelorin
