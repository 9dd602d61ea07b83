#include "pelorin/tail_start.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "log_file.h"
#include "pelorin/line_reader.h"
#include "pelorin/line_recognition.h"

namespace pelorin {
namespace {

constexpr std::int64_t kBytesPerLineGuess = 512;
constexpr std::int64_t kFirstWindowBytes = std::int64_t{1} << 16;
constexpr std::int64_t kWindowGrowth = 4;

// The bytes of the file from `begin` up to `end`.
class RangeSource final : public ByteSource {
  public:
    RangeSource(const LogFile& file, std::int64_t begin, std::int64_t end)
        : file_(file), offset_(begin), end_(end) {}
    ReadOutcome read(char* buffer, std::size_t capacity) override {
        const auto left = static_cast<std::size_t>(end_ - offset_);
        const ReadOutcome got = file_.readAt(buffer, std::min(capacity, left), offset_);
        offset_ += static_cast<std::int64_t>(got.bytes);
        return got;
    }

  private:
    const LogFile& file_;
    std::int64_t offset_;
    std::int64_t end_;
};

struct WindowScan {
    std::size_t found = 0;        // telemetry lines
    std::int64_t oldest = 0;      // the start of the first of the last `count` of them
    std::int64_t firstLine = -1;  // the start of the first complete line, -1 when none
    int error = 0;
};

// Scans the complete lines from `begin` to `end`. Unless `begin` is 0 it is one byte before
// the window, so that the first line handed out is the tail of a line cut by the window's
// start (or an empty one ending right there) and is left out.
WindowScan scanWindow(const LogFile& file, std::int64_t begin, std::int64_t end,
                      std::size_t count) {
    RangeSource source(file, begin, end);
    LineReader reader(source);
    LineReader::Line line;
    std::vector<std::int64_t> starts(count);  // a ring of the last telemetry lines' starts
    WindowScan scan;
    FrameText frame{};
    bool skip = begin > 0;
    for (LineReader::Status s; (s = reader.next(line)) != LineReader::Status::EndOfData;) {
        if (s != LineReader::Status::Line) {
            scan.error = reader.error();
            return scan;
        }
        if (std::exchange(skip, false)) {
            continue;
        }
        if (scan.firstLine < 0) {
            scan.firstLine = begin + line.offset;
        }
        if (ExamineLine(line.text, frame) == LineKind::Telemetry) {
            starts[scan.found++ % count] = begin + line.offset;
        }
    }
    scan.oldest = scan.found >= count ? starts[scan.found % count] : 0;
    return scan;
}

}  // namespace

TailStart FindTailStart(const std::string& path, std::size_t count, std::int64_t maxBytes) {
    count = std::max<std::size_t>(count, 1);
    LogFile file;
    if (const int error = file.open(path); error != 0) {
        return {0, error};
    }
    const std::int64_t size = file.size();
    if (size < 0) {
        return {0, static_cast<int>(-size)};
    }
    maxBytes = std::max<std::int64_t>(maxBytes, 1);
    std::int64_t window = std::min(
        maxBytes,
        std::max(kFirstWindowBytes, static_cast<std::int64_t>(count) * kBytesPerLineGuess));
    for (;;) {
        const std::int64_t from = std::max<std::int64_t>(0, size - window);
        const WindowScan scan = scanWindow(file, from > 0 ? from - 1 : 0, size, count);
        if (scan.error != 0) {
            return {0, scan.error};
        }
        if (scan.found >= count || from == 0) {
            return {scan.oldest, 0};
        }
        if (window >= maxBytes) {
            return {scan.firstLine >= 0 ? scan.firstLine : size, 0, true};
        }
        window = window > maxBytes / kWindowGrowth ? maxBytes : window * kWindowGrowth;
    }
}

}  // namespace pelorin
