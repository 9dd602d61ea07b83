#include "ReceptionTime.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTimeZone>

#include "pelorin/reception_time.h"

namespace pelorin {
namespace {

// Kept with the block by the document, so it moves with the line as lines above it go.
class ReadTime final : public QTextBlockUserData {
  public:
    explicit ReadTime(const QDateTime& time) : time_(time) {}
    const QDateTime& time() const { return time_; }

  private:
    QDateTime time_;
};

}  // namespace

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

void MarkReadTime(QTextDocument& document, int first, int last, const QDateTime& time) {
    for (QTextBlock block = document.findBlockByNumber(first);
         block.isValid() && block.blockNumber() <= last; block = block.next()) {
        block.setUserData(new ReadTime(time));
    }
}

std::optional<QDateTime> ReceptionTimeOfBlock(const QTextBlock& block) {
    if (std::optional<QDateTime> stamped = ReceptionTimeOfLine(block.text())) {
        return stamped;
    }
    if (const auto* read = dynamic_cast<const ReadTime*>(block.userData())) {
        return read->time();
    }
    return std::nullopt;
}

QString ReceptionTimeText(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace pelorin
