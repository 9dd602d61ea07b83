#include "OptionButton.h"

#include <QApplication>
#include <QPointer>
#include <QProxyStyle>

namespace pelorin {
namespace {

// The option buttons are 13 pixels high and their captions were sized for a narrow font: a
// 13-pixel indicator with a small gap leaves the caption the room it was designed with.
constexpr int kIndicatorSize = 13;
constexpr int kLabelSpacing = 4;

class CompactIndicatorStyle : public QProxyStyle {
  public:
    CompactIndicatorStyle() { setParent(qApp); }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        switch (metric) {
            case PM_ExclusiveIndicatorWidth:
            case PM_ExclusiveIndicatorHeight:
                return kIndicatorSize;
            case PM_RadioButtonLabelSpacing:
                return kLabelSpacing;
            default:
                return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

QStyle* SharedStyle() {
    static QPointer<CompactIndicatorStyle> style;
    if (!style) {
        style = new CompactIndicatorStyle();
    }
    return style;
}

}  // namespace

OptionButton::OptionButton(const QString& caption, QWidget* parent)
    : QRadioButton(caption, parent) {
    setAutoExclusive(false);
    setStyle(SharedStyle());
}

void OptionButton::nextCheckState() {
    setChecked(true);
}

}  // namespace pelorin
