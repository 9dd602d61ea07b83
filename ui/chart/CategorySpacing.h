#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace pelorin {

// Above this many records the category axis gets a fixed spacing instead of its own division.
inline constexpr std::int32_t kAutoDivisionRecords = 100;
// About this many record numbers then stand along the axis.
inline constexpr int kCategoryLabelsWanted = 20;

// Categories between tick marks and between labels for a chart of `RecordCount` bars: none
// (automatic division) up to 100 records, else RecordCount / 20 rounded half to even, so 110
// gives 6 and 150 gives 8.
std::optional<int> FixedCategorySpacing(std::int32_t RecordCount);

// Spacing, in categories, between the labels (or tick marks) that the category axis actually
// draws when the chart asks for one every `every` categories (at least 1).
// `visibleSpan` and `wholeSpan` are the shown and the whole key range in categories: when the
// user has zoomed in, the spacing shrinks to a divisor of `every`, so the marks stay on the
// chart's own grid while about as many stay in view. `minSpacing` (categories, from the
// label width in pixels) keeps labels from overlapping: the spacing then grows to a multiple
// of `every`.
int VisibleCategorySpacing(int every, double visibleSpan, double wholeSpan, double minSpacing);

// The categories 1, 1 + spacing, 1 + 2 * spacing, ... (spacing at least 1) that lie inside
// [lower, upper] and inside 1..rowCount, in ascending order.
std::vector<int> SpacedCategories(int spacing, double lower, double upper, int rowCount);

}  // namespace pelorin
