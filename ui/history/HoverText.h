#pragma once

#include <QString>
#include <string_view>
#include <vector>

#include "history/HistoryData.h"

// What the History window's cross-hair says of the frame under it.
namespace pelorin::history {

// Its first reception in UTC and its on-board time (as the time box writes it), then the
// stations that heard it.
QString HoverFrameText(const HistoryData& data, std::size_t frame,
                       std::string_view decimalSeparator);

// Its values `valueIndices` as the value boxes write them with `decimalSeparator`; a
// quantity's four as minimum, maximum, average and actual.
QString HoverValuesText(const HistoryData& data, std::size_t frame,
                        const std::vector<int>& valueIndices, std::string_view decimalSeparator);

}  // namespace pelorin::history
