#include "csv_format.h"

#include "pelorin/csv_export.h"

namespace pelorin::cli {

CsvFormat::CsvFormat(std::string_view decimalSeparator) : separator_(decimalSeparator) {}

void CsvFormat::appendHeader(std::string& out) {
    AppendCsvHeader(out, DefaultCsvCaptions());
}

void CsvFormat::appendRecord(std::string& out, const TelemetryRecord& record,
                             const RecordOrigin& /*origin*/) {
    AppendCsvRecord(out, record, separator_);
}

}  // namespace pelorin::cli
