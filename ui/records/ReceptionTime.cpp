#include "ReceptionTime.h"

#include <QTimeZone>

#include "pelorin/reception_time.h"

namespace pelorin {

// The archive's rule, so that the table and the archive agree on every line.
std::optional<QDateTime> ReceptionTimeOfLine(QStringView line) {
    const QByteArray utf8 = line.toUtf8();
    const std::optional<UtcMillis> time = ReceptionTimeOfLine(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    if (!time) {
        return std::nullopt;
    }
    return QDateTime::fromMSecsSinceEpoch(*time, QTimeZone::utc());
}

QString ReceptionTimeText(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace pelorin
