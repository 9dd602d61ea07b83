#pragma once

#include <QString>
#include <cstdint>

namespace pelorin {

// A text file read for the paste box: its text with every line ending (CR LF, LF or CR) made
// a line feed, or why it cannot be used.
struct LoadedText {
    bool ok = false;
    QString text;
    QString error;  // plain words for the user, with the file's name
};

class TextFileLoader {
  public:
    // Larger files are refused: a telemetry log of a pass is a few hundred kilobytes.
    static constexpr std::int64_t kMaxBytes = 50LL * 1024 * 1024;

    // Reads UTF-8 (a byte that is not part of a well-formed sequence becomes one U+FFFD, as in
    // pelorin-decode; UTF-16 and UTF-32 with a byte order mark). Refuses files that are too
    // large, unreadable, or binary (NUL bytes, or more than one control character in twenty
    // other than tab, line and page breaks and ESC), saying which rule refused it.
    static LoadedText Load(const QString& path);
};

}  // namespace pelorin
