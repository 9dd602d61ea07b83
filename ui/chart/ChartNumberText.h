#pragma once

#include <QString>

namespace pelorin {

// A value as the chart shows it (axis and hover text): the core's general number text, with
// the user's regional decimal separator read from the current default QLocale.
QString ChartNumberText(double value);

}  // namespace pelorin
