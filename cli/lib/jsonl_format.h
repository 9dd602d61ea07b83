#pragma once

#include <string>
#include <string_view>

#include "pelorin/limits.h"
#include "pelorin/number_text_cache.h"
#include "record_format.h"

namespace pelorin::cli {

// One JSON object per line and record:
// {"record":1,"file":"pass.txt","line":17,"values":[v0,...,v35]}, with "suspect":true added
// when a non-hex character stood among the line's digits (its values are then not what was sent).
// The values are all 36 stored doubles as their shortest round-trip text, so a reader gets
// back exactly the bits the decoder stored. With limits, "out_of_limits":[i,...] follows: the
// indices of the values outside them, ascending, [] for none.
class JsonlFormat final : public RecordFormat {
  public:
    // `limits` must outlive the format; null for none.
    explicit JsonlFormat(const LimitTable* limits = nullptr);
    void appendHeader(std::string& out) override;
    void appendRecord(std::string& out, const TelemetryRecord& record,
                      const RecordOrigin& origin) override;

  private:
    NumberTextCache texts_;
    const LimitTable* limits_;
};

// Appends `text` as a JSON string: quotes, escapes, and U+FFFD for bytes that are not UTF-8.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace pelorin::cli
