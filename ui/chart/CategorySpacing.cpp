#include "CategorySpacing.h"

#include <algorithm>
#include <cmath>

#include "pelorin/number_text.h"

namespace pelorin {

namespace {

// Keeps 2.0000000001 from becoming 3 after floating-point division.
constexpr double kRoundingSlack = 1e-9;

int CeilToInt(double value) {
    return static_cast<int>(std::ceil(value - kRoundingSlack));
}

}  // namespace

std::optional<int> FixedCategorySpacing(std::int32_t RecordCount) {
    if (RecordCount <= kAutoDivisionRecords) {
        return std::nullopt;
    }
    return RoundHalfEven32(static_cast<double>(RecordCount) / kCategoryLabelsWanted);
}

int VisibleCategorySpacing(int every, double visibleSpan, double wholeSpan, double minSpacing) {
    every = std::max(every, 1);
    double wanted = every;
    if (wholeSpan > 0.0 && visibleSpan > 0.0 && visibleSpan < wholeSpan) {
        wanted = every * visibleSpan / wholeSpan;
    }
    wanted = std::max({wanted, minSpacing, 1.0});
    if (wanted <= every + kRoundingSlack) {
        for (int divisor = 1; divisor < every; ++divisor) {
            if (every % divisor == 0 && divisor >= wanted - kRoundingSlack) {
                return divisor;
            }
        }
        return every;
    }
    return every * CeilToInt(wanted / every);
}

std::vector<int> SpacedCategories(int spacing, double lower, double upper, int rowCount) {
    spacing = std::max(spacing, 1);
    std::vector<int> categories;
    const double first = std::max(lower, 1.0);
    const double last = std::min(upper, static_cast<double>(rowCount));
    if (first > last) {
        return categories;
    }
    // First category of the series 1 + k * spacing that is not below `first`.
    const int steps = std::max(CeilToInt((first - 1.0) / spacing), 0);
    for (long long category = 1LL + static_cast<long long>(steps) * spacing; category <= last;
         category += spacing) {
        categories.push_back(static_cast<int>(category));
    }
    return categories;
}

}  // namespace pelorin
