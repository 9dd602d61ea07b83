#include "ReceptionTime.h"

#include <QRegularExpression>
#include <string>

#include "pelorin/frame_marker.h"

namespace pelorin {
namespace {

// Date, time, optional fraction and zone: the forms ISO 8601 loggers write.
const QRegularExpression& StampPattern() {
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*\[?\s*(\d{4}-\d{2}-\d{2})[T ](\d{2}:\d{2}:\d{2}(?:[.,]\d{1,9})?)(Z|[+-]\d{2}:?\d{2})?\s*\]?)"));
    return pattern;
}

constexpr int kMillisecondDigits = 3;

}  // namespace

std::optional<QDateTime> ReceptionTimeOfLine(QStringView line) {
    const std::u16string_view units(reinterpret_cast<const char16_t*>(line.utf16()),
                                    static_cast<std::size_t>(line.size()));
    const std::size_t marker = FindFrameMarker(units);
    if (marker == std::u16string_view::npos) {
        return std::nullopt;
    }
    const QRegularExpressionMatch match =
        StampPattern().match(line.first(static_cast<qsizetype>(marker)).toString());
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    QString time = match.captured(2).replace(QLatin1Char(','), QLatin1Char('.'));
    if (const qsizetype dot = time.indexOf(QLatin1Char('.')); dot >= 0) {
        time.truncate(dot + 1 + kMillisecondDigits);  // Qt reads milliseconds
    }
    QString zone = match.captured(3);
    if (zone.isEmpty()) {
        zone = QStringLiteral("Z");
    } else if (zone.size() == 5) {
        zone.insert(3, QLatin1Char(':'));  // +0100 as +01:00
    }
    const QDateTime parsed = QDateTime::fromString(
        match.captured(1) + QLatin1Char('T') + time + zone, Qt::ISODateWithMs);
    if (!parsed.isValid()) {
        return std::nullopt;
    }
    return parsed.toUTC();
}

QString ReceptionTimeText(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace pelorin
