#pragma once

#include <string>

#include "number_text_cache.h"
#include "record_format.h"

namespace pelorin::cli {

// The window's CSV export, line for line: the captions' header, then values 0..34 of each
// record in the general number text, ";" after every field, CR LF after every line.
class CsvFormat final : public RecordFormat {
  public:
    explicit CsvFormat(std::string_view decimalSeparator);
    void appendHeader(std::string& out) override;
    void appendRecord(std::string& out, const TelemetryRecord& record,
                      const RecordOrigin& origin) override;

  private:
    std::string separator_;
    NumberTextCache texts_;
};

}  // namespace pelorin::cli
