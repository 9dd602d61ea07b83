#pragma once

#include <QColor>

namespace pelorin {

// Text is readable on a background when their contrast ratio reaches this (the WCAG level for
// body text).
inline constexpr double kReadableContrast = 4.5;

// Contrast ratio of two colours by their relative luminance (WCAG 2): 1 for equal colours up
// to 21 for black on white. Alpha is ignored.
double ContrastRatio(const QColor& a, const QColor& b);

// The red of warnings (rejected lines, values out of limits) that reads best on `background`:
// a dark red on light backgrounds, a light red on dark ones.
QColor WarningRed(const QColor& background);

}  // namespace pelorin
