#pragma once

#include <string>
#include <string_view>

#include "pelorin/csv_writer.h"
#include "record_format.h"

namespace pelorin::cli {

// The window's CSV export, line for line, from the export's own writer: the captions' header,
// then values 0..34 of each record, ";" after every field, CR LF after every line. Or the
// analysis form of the same writer.
class CsvFormat final : public RecordFormat {
  public:
    CsvFormat(std::string_view decimalSeparator, CsvForm form) : writer_(decimalSeparator, form) {}
    void appendHeader(std::string& out) override { writer_.appendHeader(out); }
    void appendRecord(std::string& out, const RawRecord& raw,
                      const RecordOrigin& /*origin*/) override {
        writer_.appendRecord(out, raw);
    }

  private:
    CsvWriter writer_;
};

}  // namespace pelorin::cli
