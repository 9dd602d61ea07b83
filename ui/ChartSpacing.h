#pragma once

#include <cstdint>
#include <optional>

#include "pelorin/number_text.h"

namespace pelorin {

// Above this many records the category axis gets a fixed spacing instead of its own division.
inline constexpr std::int32_t kAutoDivisionRecords = 100;
// About this many record numbers then stand along the axis.
inline constexpr int kCategoryLabelsWanted = 20;

// Categories between tick marks and between labels for a chart of `RecordCount` bars: none
// (automatic division) up to 100 records, else RecordCount / 20 rounded half to even, so 110
// gives 6 and 150 gives 8.
inline std::optional<int> FixedCategorySpacing(std::int32_t RecordCount) {
    if (RecordCount <= kAutoDivisionRecords) {
        return std::nullopt;
    }
    return RoundHalfEven32(static_cast<double>(RecordCount) / kCategoryLabelsWanted);
}

}  // namespace pelorin
