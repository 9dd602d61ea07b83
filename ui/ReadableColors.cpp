#include "ReadableColors.h"

#include <algorithm>
#include <cmath>

namespace pelorin {
namespace {

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double Luminance(const QColor& color) {
    auto linear = [](float channel) {
        return channel <= 0.04045F ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    constexpr double kFlare = 0.05;  // the viewing flare of the WCAG formula
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + kFlare) / (std::min(la, lb) + kFlare);
}

QColor WarningRed(const QColor& background) {
    static const QColor kDarkRed(176, 0, 0);
    static const QColor kLightRed(255, 128, 128);
    return ContrastRatio(kDarkRed, background) >= ContrastRatio(kLightRed, background) ? kDarkRed
                                                                                       : kLightRed;
}

}  // namespace pelorin
