#pragma once

#include "ValueRange.h"

namespace pelorin {

// What stands along the chart's horizontal axis.
enum class TimeAxisChoice {
    RecordNumber,  // one category per record, in record order
    OnBoardTime,   // each record at its time counter, gaps and reboots visible
};

// The user's choices of the chart's look; none changes the rows, labels or values it holds.
struct ChartOptions {
    TimeAxisChoice timeAxis = TimeAxisChoice::RecordNumber;
    ValueScale valueScale = ValueScale::FitToValues;
    // For a measured quantity: its minimum-to-maximum range as a bar, average and actual as
    // marks.
    bool showStatistics = false;

    bool operator==(const ChartOptions&) const = default;
};

}  // namespace pelorin
