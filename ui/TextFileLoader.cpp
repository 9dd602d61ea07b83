#include "TextFileLoader.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace pelorin {
namespace {

constexpr int kControlShare = 100;  // at most one control character in this many bytes

LoadedText Failure(const QString& path, const QString& why) {
    return {false, QString(), QStringLiteral("Could not open %1: %2").arg(path, why)};
}

bool IsControl(unsigned char c) {
    const bool lineOrPage = c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
    return (c < 0x20 && !lineOrPage) || c == 0x7F;
}

bool LooksBinary(const QByteArray& bytes) {
    qsizetype controls = 0;
    for (const char c : bytes) {
        if (c == '\0') {
            return true;
        }
        controls += IsControl(static_cast<unsigned char>(c)) ? 1 : 0;
    }
    return controls * kControlShare > bytes.size();
}

QString Decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        return QString::fromLatin1(bytes);  // older logs are often in an 8-bit code page
    }
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
    if (LooksBinary(bytes)) {
        return Failure(path, QStringLiteral("it is not a text file."));
    }
    return {true, UnifyLineEnds(Decode(bytes)), QString()};
}

}  // namespace pelorin
