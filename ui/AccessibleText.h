#pragma once

#include <QString>

#include "ValueText.h"

namespace pelorin {

class Form1Layout;

// What screen readers and other accessibility tools get from the main window's controls: for
// each value box and option button the value it stands for, for the selector, the chart and
// the picture what they show at the moment. A value box is named by its value in words with
// its unit ("average Bus Voltage, volts").

// Names and descriptions that never change, and those of the window before any decode.
void DescribeControls(Form1Layout& controls);

// After record `record` of `recordCount` (0 before any decode) is shown.
void DescribeRecord(Form1Layout& controls, int record, int recordCount,
                    const SolarArrayFlags& flags);

// After value `index` of records 1 to `recordCount` is charted.
void DescribeChart(Form1Layout& controls, int index, int recordCount);

}  // namespace pelorin
