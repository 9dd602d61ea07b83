#include "ValueBoxColors.h"

#include <QEvent>
#include <QLineEdit>

#include "ReadableColors.h"

namespace pelorin {
namespace {

constexpr int kTimeBox = 0;  // keeps the palette's text colour

bool IsPaletteChange(const QEvent& event) {
    return event.type() == QEvent::PaletteChange ||
           event.type() == QEvent::ApplicationPaletteChange;
}

}  // namespace

const QColor ValueBoxColors::kHighlight(255, 255, 192);
const QColor ValueBoxColors::kDarkPaletteBase(224, 224, 224);

ValueBoxColors::ValueBoxColors(QWidget& window, const std::array<QLineEdit*, kShownValues>& boxes)
    : QObject(&window), window_(window), boxes_(boxes) {
    for (int i = 0; i < kShownValues; ++i) {
        apply(i);
    }
    window.installEventFilter(this);
}

QColor ValueBoxColors::PlainBase(const QPalette& palette) {
    const QColor base = palette.color(QPalette::Base);
    return ContrastRatio(Qt::black, base) >= kReadableContrast ? base : kDarkPaletteBase;
}

void ValueBoxColors::setHighlighted(int index, bool highlighted) {
    highlighted_[static_cast<std::size_t>(index)] = highlighted;
    apply(index);
}

void ValueBoxColors::setOutOfLimits(int index, bool out) {
    if (outOfLimits_[static_cast<std::size_t>(index)] != out) {
        outOfLimits_[static_cast<std::size_t>(index)] = out;
        apply(index);
    }
}

void ValueBoxColors::apply(int index) {
    const QPalette& window = window_.palette();
    const QColor base =
        highlighted_[static_cast<std::size_t>(index)] ? kHighlight : PlainBase(window);
    const bool paletteText = index == kTimeBox && base == window.color(QPalette::Base);
    const QColor plainText = paletteText ? window.color(QPalette::Text) : QColor(Qt::black);
    const QColor text =
        outOfLimits_[static_cast<std::size_t>(index)] ? WarningRed(base) : plainText;
    QLineEdit* box = boxes_[static_cast<std::size_t>(index)];
    QPalette palette = box->palette();
    // Every decode highlights a box again: only a real change touches the box.
    if (palette.color(QPalette::Base) == base && palette.color(QPalette::Text) == text) {
        return;
    }
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Text, text);
    box->setPalette(palette);
}

bool ValueBoxColors::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && IsPaletteChange(*event)) {
        for (int i = 0; i < kShownValues; ++i) {
            apply(i);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pelorin
