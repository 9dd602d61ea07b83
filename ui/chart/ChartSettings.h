#pragma once

#include "ChartOptions.h"

namespace pelorin {

// The chart's choices in the user's settings (QSettings under the application's organization
// and name), so that they stay between runs. Unknown or missing entries read as the defaults.
ChartOptions LoadChartOptions();
void SaveChartOptions(const ChartOptions& options);

}  // namespace pelorin
