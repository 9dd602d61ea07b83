#pragma once

#include <QString>
#include <functional>

#include "chart/TrendChart.h"
#include "pelorin/number_text.h"

namespace pelorin::test {

// Fills the chart the way the main window draws it: axis division, row count, then per
// row the row, column 1, the label (the row number) and the value.
inline void FillChart(TrendChart& chart, int rows, const std::function<double(int)>& value,
                      int fixedSpacing = 0) {
    chart.setCategoryAutoDivision(fixedSpacing == 0);
    if (fixedSpacing != 0) {
        chart.setCategoriesBetweenTicks(fixedSpacing);
        chart.setCategoriesBetweenLabels(fixedSpacing);
    }
    chart.setRowCount(rows);
    for (int row = 1; row <= rows; ++row) {
        chart.setRow(row);
        chart.setColumn(1);
        chart.setRowLabel(QString::fromStdString(FormatInteger(row)));
        chart.setData(value(row));
    }
}

inline double RowTimesTen(int row) {
    return row * 10.0;
}

}  // namespace pelorin::test
