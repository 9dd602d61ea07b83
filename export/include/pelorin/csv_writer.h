#pragma once

#include <string>
#include <string_view>

#include "pelorin/number_text_cache.h"
#include "pelorin/telemetry_table.h"

namespace pelorin {

// Every field, the last included, ends in ";"; every line, the last included, in CR LF.
inline constexpr char kCsvFieldEnd = ';';
inline constexpr std::string_view kCsvLineEnd = "\r\n";

// The lines of the CSV file, for the window's export and pelorin-decode alike, so that their
// files are the same byte for byte.
class CsvWriter {
  public:
    explicit CsvWriter(std::string_view decimalSeparator);

    // Header line: the captions of values 0..34, trailing blanks kept, each followed by ";",
    // then CR LF.
    static void appendHeader(std::string& out);
    // One data line: values 0..34 of `record` in the general number text (FormatGeneral) with
    // the writer's decimal separator, each followed by ";", then CR LF. Never fails.
    void appendRecord(std::string& out, const TelemetryRecord& record);

  private:
    NumberTextCache texts_;
};

}  // namespace pelorin
