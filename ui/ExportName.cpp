#include "ExportName.h"

namespace pelorin {
namespace {

const QString kNamePattern = QStringLiteral("'pelorin-'yyyyMMdd'-'HHmm'.csv'");

}  // namespace

QString ProposedCsvName(const std::optional<QDateTime>& firstReception, const QDateTime& now) {
    const QDateTime when = firstReception && firstReception->isValid() ? *firstReception : now;
    return when.toUTC().toString(kNamePattern);
}

}  // namespace pelorin
