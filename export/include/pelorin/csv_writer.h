#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "pelorin/line_reading.h"
#include "pelorin/telemetry_table.h"
#include "pelorin/value_texts.h"

namespace pelorin {

// The window's export ends every field, the last included, in ";"; every line, the last
// included, ends in CR LF.
inline constexpr char kCsvFieldEnd = ';';
inline constexpr std::string_view kCsvLineEnd = "\r\n";

// The two forms of the file. Export: the window's export, whose header repeats the captions.
// Analysis: for tools that read one named column per field: a distinct name with its unit
// per column (value_info.h), and ";" between the fields only, since such tools read a ";"
// after the last field as a 36th, empty column.
enum class CsvForm { Export, Analysis };

// The lines of the CSV file, for the window's export and pelorin-decode alike, so that their
// files are the same byte for byte.
class CsvWriter {
  public:
    explicit CsvWriter(std::string_view decimalSeparator, CsvForm form = CsvForm::Export);

    // Header line: the captions (trailing blanks kept) or the names of values 0..34, then
    // CR LF.
    void appendHeader(std::string& out) const;
    // One data line: values 0..34 of `record` in the general number text (FormatGeneral) with
    // the writer's decimal separator, then CR LF. Never fails.
    void appendRecord(std::string& out, const TelemetryRecord& record);
    // The same line from the fields' readings, as the decoder leaves them.
    void appendRecord(std::string& out, const RawRecord& raw);

  private:
    // Ends the line whose last field ends at `pos` (the ";" of the export included).
    void endLine(std::string& out, std::size_t pos) const;

    template <typename Values, std::size_t... I>
    void appendValues(std::string& out, const Values& values, std::index_sequence<I...> fields);

    ValueTexts texts_;
    CsvForm form_;
    // The line is made here, in room that stays allocated and is not filled in advance.
    std::string line_;
};

}  // namespace pelorin
