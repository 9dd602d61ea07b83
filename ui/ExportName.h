#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace pelorin {

// The name Write CSV File As... proposes: "pelorin-YYYYMMDD-HHMM.csv" from the first record's
// reception time when it is known, else from `now`; both read in UTC.
QString ProposedCsvName(const std::optional<QDateTime>& firstReception, const QDateTime& now);

}  // namespace pelorin
