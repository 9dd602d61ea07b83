#pragma once

#include <QFile>
#include <QString>
#include <QStringConverter>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>

namespace pelorin {

// A text file read for the paste box: its text with every line ending (CR LF, LF or CR) made
// a line feed, or why it cannot be used.
struct LoadedText {
    bool ok = false;
    QString text;
    QString error;  // plain words for the user, with the file's name
};

// Reads a text file for the paste box in two passes of bounded memory: check() reads it whole
// to decide whether it is text, read() reads it again and gives its text a piece at a time.
// UTF-8 (a byte that is not part of a well-formed sequence becomes one U+FFFD, as in
// pelorin-decode; a byte order mark is skipped), or UTF-16 and UTF-32 with a byte order mark.
// Refuses files that are too large, unreadable, or binary (NUL bytes, or more than one control
// character in twenty other than tab, line and page breaks and ESC), saying which rule refused
// it. Both passes may run on any thread.
class TextFileLoader {
  public:
    // Larger files are refused: a telemetry log of a pass is a few hundred kilobytes.
    static constexpr std::int64_t kMaxBytes = 50LL * 1024 * 1024;
    // Bytes read at once; a piece of text comes from each.
    static constexpr std::int64_t kPieceBytes = 128 * 1024;

    // Receives a piece of text and the bytes read so far; returns false to stop reading.
    using PieceTaker = std::function<bool(const QString& piece, std::int64_t bytesRead)>;

    // Checks and reads the whole file at once.
    static LoadedText Load(const QString& path);

    explicit TextFileLoader(QString path) : path_(std::move(path)) {}

    // Reads the whole file to decide whether it can be used: "" when it can, else why not, in
    // plain words with the file's name. A stop request ends it early, with "".
    QString check(std::stop_token stop = {});
    // The bytes that check() found, which read() reads.
    std::int64_t size() const { return size_; }
    // After a successful check(): gives the text to `take` piece by piece, line ends made line
    // feeds. Returns "" when all was read or `take` stopped it, else why reading failed.
    QString read(const PieceTaker& take);

  private:
    QString failure(const QString& why) const;
    QString openRegular(QFile& file) const;

    QString path_;
    std::int64_t size_ = 0;
    // The encoding a byte order mark names, other than UTF-8.
    std::optional<QStringConverter::Encoding> marked_;
};

}  // namespace pelorin
