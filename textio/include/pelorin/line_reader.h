#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "pelorin/byte_source.h"
#include "pelorin/line_ends.h"

namespace pelorin {

// Splits a stream of bytes into lines ending in CR LF, LF or CR, with memory bounded by its
// buffer whatever the length of a line. A CR LF split between two reads is one line end.
//
// A line longer than the buffer is kept only as far as it can still matter to the telemetry
// recognition: nothing before its first frame marker counts, and from the marker on, a line of
// more than 4 x 122 bytes is more than 122 characters long whatever its bytes. Such a line is
// handed out as an excerpt that pelorin::ExamineLine classifies and decodes exactly as the
// whole line.
class LineReader {
  public:
    static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 16;
    static constexpr std::size_t kMinBufferSize = 1024;

    enum class Status {
        Line,         // `line` holds the next complete line
        EndOfData,    // no complete line left in what the source has so far
        Interrupted,  // a read was interrupted by a signal; call again to go on
        Error,        // the source failed; error() tells why
    };

    struct Line {
        std::string_view text;    // the line without its end, or an equivalent excerpt
        std::int64_t number = 0;  // 1-based
        std::int64_t offset = 0;  // of its first byte, counted from the first byte read
    };

    explicit LineReader(ByteSource& source, std::size_t bufferSize = kDefaultBufferSize);

    // The next complete line; valid until the next call.
    Status next(Line& line);
    // Once no more data will come: the last line if it has no line end. False if there is none.
    bool takeLast(Line& line);
    // Bytes held but not yet handed out, with those left out of a long line's excerpt. After
    // EndOfData these are the bytes of a line begun but not yet ended; at other times they may
    // also hold complete lines still to be handed out.
    std::int64_t pendingBytes() const;
    // The system's error number after Status::Error.
    int error() const { return error_; }
    // Forgets everything, as for a new input whose lines are counted from 1 again.
    void restart();

  private:
    Status refill();
    void compactLongLine();
    std::size_t findLineEnd();
    void forgetScan() { lfValid_ = crValid_ = false; }

    ByteSource& source_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;  // first byte of the current line
    std::size_t end_ = 0;    // bytes held
    LineEnds lineEnds_;
    std::int64_t droppedBytes_ = 0;  // bytes of the current line left out of its excerpt
    std::int64_t lineNumber_ = 0;
    std::int64_t bytesRead_ = 0;       // from the source, in all
    std::int64_t nextLineOffset_ = 0;  // where the line after the last one handed out begins
    int error_ = 0;
    // The next LF and CR at or after begin_ (end_ when there is none), found with memchr.
    std::size_t nextLf_ = 0;
    std::size_t nextCr_ = 0;
    bool lfValid_ = false;
    bool crValid_ = false;
};

}  // namespace pelorin
