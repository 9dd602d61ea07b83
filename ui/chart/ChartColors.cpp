#include "ChartColors.h"

#include <QPalette>

#include "ReadableColors.h"

namespace pelorin {
namespace {

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
            WarningRed(background)};
}

}  // namespace pelorin
