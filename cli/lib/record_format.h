#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "pelorin/line_reading.h"

namespace pelorin::cli {

// Where a record came from.
struct RecordOrigin {
    std::int64_t recordNumber = 0;  // 1-based, counted over all inputs
    std::string_view file;          // the input's name as given, "-" for standard input
    std::int64_t lineNumber = 0;    // 1-based, within the input
    bool suspect = false;           // a non-hex character stood among the line's digits
    // More members for a JSON record, each with its leading ",", written after "values".
    std::string_view moreJson;
};

// Turns decoded records into output text.
class RecordFormat {
  public:
    virtual ~RecordFormat() = default;
    // What stands before the first record (may be nothing).
    virtual void appendHeader(std::string& out) = 0;
    // One record from the fields' readings (ScaleRecord gives its values).
    virtual void appendRecord(std::string& out, const RawRecord& raw,
                              const RecordOrigin& origin) = 0;
};

}  // namespace pelorin::cli
