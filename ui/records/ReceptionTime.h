#pragma once

#include <QDateTime>
#include <QStringView>
#include <optional>

class QTextBlock;
class QTextDocument;

namespace pelorin {

// When a telemetry line was received, from the date and time a logger wrote at the line's
// start before the frame marker: ISO 8601 ("2026-03-14T09:26:53Z", a space for the T, seconds
// fractions and a zone allowed), optionally in square brackets; a time without a zone is UTC.
// Nothing when the line has no marker or no such date and time before it.
std::optional<QDateTime> ReceptionTimeOfLine(QStringView line);

// Marks the box's blocks first..last as lines read from a followed log at `time`.
void MarkReadTime(QTextDocument& document, int first, int last, const QDateTime& time);

// A line of the box: the logger's date and time before the marker, else the time the line was
// read while following, else nothing (the archive's order).
std::optional<QDateTime> ReceptionTimeOfBlock(const QTextBlock& block);

// "2026-03-14 09:26:53" in UTC, as the records table shows a reception time.
QString ReceptionTimeText(const QDateTime& time);

}  // namespace pelorin
