#pragma once

#include <array>
#include <string>
#include <string_view>

#include "pelorin/telemetry_table.h"

namespace pelorin {

// The fixed file name of the export beside the program.
inline constexpr std::string_view kCsvFileName = "pelorin_telemetry.csv";

// Every field, the last included, ends in ";"; every line, the last included, in CR LF.
inline constexpr char kCsvFieldEnd = ';';
inline constexpr std::string_view kCsvLineEnd = "\r\n";

// The 35 column captions, value indices 0..34, as the window's option buttons show them.
using CsvCaptions = std::array<std::string, kShownValues>;

// The captions of the window's option buttons 0..34, trailing blanks kept.
const CsvCaptions& DefaultCsvCaptions();

// Header line: each caption followed by ";", then CR LF.
void AppendCsvHeader(std::string& out, const CsvCaptions& captions);
// One data line: values 0..34 in the general number text, each followed by ";", then CR LF.
void AppendCsvRecord(std::string& out, const TelemetryRecord& record,
                     std::string_view decimalSeparator);
// The whole file: header, then records 1..RecordCount.
std::string BuildCsvFile(const TelemetryStore& store, const CsvCaptions& captions,
                         std::string_view decimalSeparator);

}  // namespace pelorin
