#pragma once

#include <string>
#include <string_view>

#include "pelorin/csv_writer.h"
#include "pelorin/telemetry_table.h"

namespace pelorin {

// The fixed file name of the export beside the program.
inline constexpr std::string_view kCsvFileName = "pelorin_telemetry.csv";

// The whole CSV file (csv_writer.h) in `form`: header, then records 1..RecordCount of `store`,
// numbers with `decimalSeparator`. Never fails.
std::string BuildCsvFile(const TelemetryStore& store, std::string_view decimalSeparator,
                         CsvForm form = CsvForm::Export);

}  // namespace pelorin
