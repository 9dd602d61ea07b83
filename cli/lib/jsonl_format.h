#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "pelorin/limits.h"
#include "pelorin/value_texts.h"
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
    void appendRecord(std::string& out, const RawRecord& raw, const RecordOrigin& origin) override;

  private:
    // Room for a record's text but the input's name: the keys, two numbers and the values.
    static constexpr std::size_t kLineRoom =
        64 + 2 * kMaxIntegerText + kValuesPerRecord * ValueTexts::kRoomPerValue;

    std::size_t putText(std::size_t pos, std::string_view text);
    std::size_t putInteger(std::size_t pos, std::int64_t value);
    template <std::size_t... I>
    std::size_t putValues(std::size_t pos, const RawRecord& raw, std::index_sequence<I...> values);
    void appendOutOfLimits(std::string& out, const RawRecord& raw) const;

    ValueTexts texts_;
    const LimitTable* limits_;
    std::string file_;      // the last input's name
    std::string fileText_;  // and its JSON string
    std::string line_;      // room for a record's text, allocated once
};

// Appends `text` as a JSON string: quotes, escapes, and U+FFFD for bytes that are not UTF-8.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace pelorin::cli
