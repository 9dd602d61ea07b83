#include "TextFileLoader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "pelorin/line_ends.h"
#include "pelorin/unicode_chars.h"

namespace pelorin {
namespace {

// More than one control byte in this many (other than those text uses) makes a file binary.
constexpr int kControlShare = 20;

// Tab, line and page breaks, and the ESC of terminal colour codes, belong to text.
bool IsControl(unsigned char c) {
    const bool text = c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\x1B';
    return (c < 0x20 && !text) || c == 0x7F;
}

// What the first pass learns of the bytes for the binary rules.
struct ByteScan {
    std::int64_t bytes = 0;
    std::int64_t controls = 0;
    bool nul = false;

    void add(QByteArrayView piece) {
        bytes += piece.size();
        for (const char c : piece) {
            nul = nul || c == '\0';
            controls += IsControl(static_cast<unsigned char>(c)) ? 1 : 0;
        }
    }
    // Why the bytes are no text, or "" when they are.
    QString binaryReason() const {
        if (nul) {
            return QStringLiteral("it holds NUL bytes, so it is not a text file.");
        }
        if (controls * kControlShare > bytes) {
            return QStringLiteral(
                       "more than one byte in %1 is a control character, so it is not a "
                       "text file.")
                .arg(kControlShare);
        }
        return {};
    }
};

// UTF-8 converted piece by piece by the decoder's own reading, so that the window and
// pelorin-decode count the same characters: a byte that is not part of a well-formed sequence
// is one U+FFFD. A sequence cut by a piece's end waits for the next piece.
class Utf8Pieces {
  public:
    QString convert(QByteArrayView piece, bool last) {
        carry_.append(piece);
        QString text(carry_.size(), Qt::Uninitialized);
        const Utf16Conversion converted = Utf8ToUtf16(
            std::string_view(carry_.constData(), static_cast<std::size_t>(carry_.size())),
            reinterpret_cast<char16_t*>(text.data()), last);
        carry_.remove(0, static_cast<qsizetype>(converted.bytesRead));
        text.truncate(static_cast<qsizetype>(converted.unitsWritten));
        return text;
    }
    bool pending() const { return !carry_.isEmpty(); }

  private:
    QByteArray carry_;
};

// Every line end made one line feed, in text given piece by piece.
class LineEndUnifier {
  public:
    void apply(QString& text) {
        qsizetype kept = 0;
        for (qsizetype k = 0; k < text.size(); ++k) {
            const char16_t c = text.at(k).unicode();
            if (ends_.completesPair(c)) {
                continue;
            }
            if (IsLineEnd(c)) {
                ends_.ended(c);
                text[kept++] = QChar(kLineFeed);
            } else {
                text[kept++] = QChar(c);
            }
        }
        text.truncate(kept);
    }

  private:
    LineEnds ends_;
};

}  // namespace

QString TextFileLoader::failure(const QString& why) const {
    return QStringLiteral("Could not open %1: %2").arg(path_, why);
}

// Opens the file without blocking (a FIFO put in its place would block an ordinary open) and
// checks what was opened, not the path, so that nothing swapped in between is read. "" when
// `file` holds a regular file, else why not.
QString TextFileLoader::openRegular(QFile& file) const {
    const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return failure(errno == ENOENT
                           ? QStringLiteral("the file does not exist.")
                           : QString::fromLocal8Bit(std::strerror(errno)) + QLatin1Char('.'));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return failure(QStringLiteral("it is not a file."));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failure(file.errorString() + QLatin1Char('.'));
    }
    return {};
}

LoadedText TextFileLoader::Load(const QString& path) {
    TextFileLoader loader(path);
    QString error = loader.check();
    QString text;
    if (error.isEmpty()) {
        error = loader.read([&text](const QString& piece, std::int64_t) {
            text += piece;
            return true;
        });
    }
    return error.isEmpty() ? LoadedText{true, text, QString()} : LoadedText{false, {}, error};
}

QString TextFileLoader::check(std::stop_token stop) {
    QFile file;
    if (QString refused = openRegular(file); !refused.isEmpty()) {
        return refused;
    }
    const QString tooLarge = failure(QStringLiteral("it is larger than 50 MB."));
    if (file.size() > kMaxBytes) {
        return tooLarge;
    }
    ByteScan scan;
    std::optional<QStringConverter::Encoding> marked;
    std::optional<QStringDecoder> decoder;
    for (QByteArray piece; !(piece = file.read(kPieceBytes)).isEmpty() && !stop.stop_requested();) {
        // A byte order mark of UTF-16 or UTF-32 names the encoding; such text holds NUL bytes.
        if (scan.bytes == 0) {
            marked = QStringConverter::encodingForData(piece);
            if (marked && *marked != QStringConverter::Utf8) {
                decoder.emplace(*marked);
            }
        }
        scan.add(piece);
        if (decoder) {
            (*decoder)(piece);
        } else if (scan.nul) {
            break;  // binary whatever follows
        }
        if (scan.bytes > kMaxBytes) {
            return tooLarge;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        return failure(file.errorString() + QLatin1Char('.'));
    }
    size_ = scan.bytes;
    if (decoder && !decoder->hasError()) {
        marked_ = marked;
        return {};
    }
    marked_.reset();
    const QString reason = scan.binaryReason();
    return reason.isEmpty() ? QString() : failure(reason);
}

QString TextFileLoader::read(const PieceTaker& take) {
    QFile file;
    if (QString refused = openRegular(file); !refused.isEmpty()) {
        return refused;
    }
    std::optional<QStringDecoder> decoder;
    if (marked_) {
        decoder.emplace(*marked_);
    }
    Utf8Pieces utf8;
    LineEndUnifier lineEnds;
    std::int64_t done = 0;
    while (done < size_) {
        QByteArray bytes = file.read(std::min(kPieceBytes, size_ - done));
        if (bytes.isEmpty()) {
            break;  // shorter than it was when checked
        }
        const bool first = done == 0;
        done += bytes.size();
        if (first && !decoder && bytes.startsWith(kUtf8ByteOrderMark)) {
            bytes.remove(0, static_cast<qsizetype>(kUtf8ByteOrderMark.size()));
        }
        QString text = decoder ? (*decoder)(bytes) : utf8.convert(bytes, done >= size_);
        lineEnds.apply(text);
        if (!take(text, done)) {
            return {};
        }
    }
    if (file.error() != QFileDevice::NoError) {
        return failure(file.errorString() + QLatin1Char('.'));
    }
    if (utf8.pending()) {
        QString text = utf8.convert({}, true);
        lineEnds.apply(text);
        take(text, done);
    }
    return {};
}

}  // namespace pelorin
