#include "ChartColors.h"

#include <QPalette>

namespace pelorin {
namespace {

const QColor kRedOnLight(0xc0, 0x00, 0x00);
const QColor kRedOnDark(0xff, 0x6b, 0x6b);
constexpr double kLightBackground = 0.5;  // lightness above which a background counts as light

// Shares of the text colour mixed into the background.
constexpr double kGridShare = 0.25;
constexpr double kZeroLineShare = 0.6;
constexpr double kFaintShare = 0.5;

QColor Mix(const QColor& background, const QColor& text, double share) {
    auto channel = [share](double b, double t) { return b + (t - b) * share; };
    return QColor::fromRgbF(static_cast<float>(channel(background.redF(), text.redF())),
                            static_cast<float>(channel(background.greenF(), text.greenF())),
                            static_cast<float>(channel(background.blueF(), text.blueF())));
}

}  // namespace

ChartColors ChartColors::FromPalette(const QPalette& palette) {
    const QColor background = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    return {background,
            text,
            Mix(background, text, kGridShare),
            Mix(background, text, kZeroLineShare),
            Mix(background, text, kFaintShare),
            OutOfLimitsColor(background)};
}

QColor OutOfLimitsColor(const QColor& background) {
    return background.lightnessF() > kLightBackground ? kRedOnLight : kRedOnDark;
}

}  // namespace pelorin
