#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

namespace pelorin {

struct TailStart {
    std::int64_t offset = 0;  // byte offset in the file, a line start
    int error = 0;            // the system's error number, or kNotRegularFile; offset 0 then
    bool cut = false;         // `maxBytes` ended the search; the bytes before offset are unread
};

// No bound on the bytes FindTailStart reads.
inline constexpr std::int64_t kWholeFile = INT64_MAX;

// Where to start reading the file at `path` so as to get its last `count` (1 or more; 0 counts
// as 1) telemetry lines, as ExamineLine tells them, and the lines between them: the start of
// the first of them among the complete lines, or 0 when the file holds fewer. Lines end as
// LineReader says. Reads only the end of the file, as much as it takes (about count x 512
// bytes, more when the lines are longer or the telemetry sparser), but never more than its last
// `maxBytes`: when those hold fewer telemetry lines, the start of their first complete line,
// with `cut` set.
TailStart FindTailStart(const std::string& path, std::size_t count,
                        std::int64_t maxBytes = kWholeFile);

}  // namespace pelorin
