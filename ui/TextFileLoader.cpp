#include "TextFileLoader.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <string_view>

#include "pelorin/unicode_chars.h"

namespace pelorin {
namespace {

// More than one control byte in this many (other than those text uses) makes a file binary.
constexpr int kControlShare = 20;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

LoadedText Failure(const QString& path, const QString& why) {
    return {false, QString(), QStringLiteral("Could not open %1: %2").arg(path, why)};
}

// Tab, line and page breaks, and the ESC of terminal colour codes, belong to text.
bool IsControl(unsigned char c) {
    const bool text = c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\x1B';
    return (c < 0x20 && !text) || c == 0x7F;
}

// Why `bytes` are no text, or an empty string when they are.
QString BinaryReason(const QByteArray& bytes) {
    qsizetype controls = 0;
    for (const char c : bytes) {
        if (c == '\0') {
            return QStringLiteral("it holds NUL bytes, so it is not a text file.");
        }
        controls += IsControl(static_cast<unsigned char>(c)) ? 1 : 0;
    }
    if (controls * kControlShare > bytes.size()) {
        return QStringLiteral(
                   "more than one byte in %1 is a control character, so it is not a "
                   "text file.")
            .arg(kControlShare);
    }
    return {};
}

// UTF-8 by the decoder's own reading, so that the window and pelorin-decode count the same
// characters: a byte that is not part of a well-formed sequence is one U+FFFD.
QString DecodeUtf8(QByteArrayView bytes) {
    if (bytes.startsWith(QByteArrayView(kUtf8ByteOrderMark.data(), kUtf8ByteOrderMark.size()))) {
        bytes = bytes.sliced(static_cast<qsizetype>(kUtf8ByteOrderMark.size()));
    }
    QString text(bytes.size(), Qt::Uninitialized);
    const Utf16Conversion converted =
        Utf8ToUtf16(std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())),
                    reinterpret_cast<char16_t*>(text.data()), true);
    text.truncate(static_cast<qsizetype>(converted.unitsWritten));
    return text;
}

QString UnifyLineEnds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

LoadedText TextFileLoader::Load(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return Failure(path, QStringLiteral("the file does not exist."));
    }
    if (!info.isFile()) {
        return Failure(path, QStringLiteral("it is not a file."));
    }
    if (info.size() > kMaxBytes) {
        return Failure(path, QStringLiteral("it is larger than 50 MB."));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Failure(path, file.errorString() + QLatin1Char('.'));
    }
    const QByteArray bytes = file.read(kMaxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        return Failure(path, file.errorString() + QLatin1Char('.'));
    }
    if (bytes.size() > kMaxBytes) {
        return Failure(path, QStringLiteral("it is larger than 50 MB."));
    }
    // A byte order mark of UTF-16 or UTF-32 names the encoding; such text holds NUL bytes.
    const auto marked = QStringConverter::encodingForData(bytes);
    if (marked && *marked != QStringConverter::Utf8) {
        QStringDecoder decoder(*marked);
        const QString text = decoder(bytes);
        if (!decoder.hasError()) {
            return {true, UnifyLineEnds(text), QString()};
        }
    }
    if (const QString reason = BinaryReason(bytes); !reason.isEmpty()) {
        return Failure(path, reason);
    }
    return {true, UnifyLineEnds(DecodeUtf8(bytes)), QString()};
}

}  // namespace pelorin
