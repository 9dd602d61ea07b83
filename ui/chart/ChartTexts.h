#pragma once

#include <QString>
#include <array>

#include "ChartDetails.h"

namespace pelorin {

// One shown value and whether it lies outside the user's limits.
struct ShownValue {
    double value = 0;
    bool outOfLimits = false;
};

// Hover text of a bar: "Record 57: average Bus Voltage 8.119 V", the value as its value box
// writes it, " (out of limits)" after it when it is.
QString RowToolTip(const QString& rowLabel, const ChartDetails& details, const QString& unit,
                   const ShownValue& value);

// Hover text of a record's four statistics, one line each after "Record 57: Bus Voltage".
QString StatisticsToolTip(const QString& rowLabel, const ChartDetails& details, const QString& unit,
                          const std::array<ShownValue, kStatisticsCount>& values);

// Title of a saved or copied picture: what is charted and its unit, "average Bus Voltage [V]",
// "minimum, maximum, average and actual Bus Voltage [V]".
QString PictureTitle(const ChartDetails& details, const QString& unit, bool statistics);
// Name of the value axis: the quantity and its unit, "Bus Voltage [V]".
QString ValueAxisName(const ChartDetails& details, const QString& unit);

// The records in view, "Records 12 to 87 of 150"; "" for none.
QString RecordRangeText(const QString& firstLabel, const QString& lastLabel, int rowCount);

}  // namespace pelorin
