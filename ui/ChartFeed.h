#pragma once

#include <string>

#include "chart/ChartDetails.h"
#include "pelorin/limits.h"
#include "pelorin/telemetry_table.h"

namespace pelorin {

// What the chart needs beside its grid for a drawing of value `index` (0..34) over records
// 1..RecordCount of `store`: the on-board times, the quantity's four statistics but the charted
// one, which the chart's grid holds, the names and the value box's number text with
// `decimalSeparator`.
ChartDetails ChartDetailsFor(const TelemetryStore& store, int index,
                             const std::string& decimalSeparator);

// The limits of value `index` (0..34) and, for a measured quantity, of its four statistics.
ChartLimits ChartLimitsFor(const LimitTable& limits, int index);

}  // namespace pelorin
