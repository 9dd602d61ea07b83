#pragma once

#include <string>
#include <string_view>

#include "pelorin/csv_writer.h"
#include "record_format.h"

namespace pelorin::cli {

// The window's CSV export, line for line, from the export's own writer: the captions' header,
// then values 0..34 of each record, ";" after every field, CR LF after every line.
class CsvFormat final : public RecordFormat {
  public:
    explicit CsvFormat(std::string_view decimalSeparator) : writer_(decimalSeparator) {}
    void appendHeader(std::string& out) override { CsvWriter::appendHeader(out); }
    void appendRecord(std::string& out, const TelemetryRecord& record,
                      const RecordOrigin& /*origin*/) override {
        writer_.appendRecord(out, record);
    }

  private:
    CsvWriter writer_;
};

}  // namespace pelorin::cli
