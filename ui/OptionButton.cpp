#include "OptionButton.h"

namespace pelorin {

OptionButton::OptionButton(const QString& caption, QWidget* parent)
    : QRadioButton(caption, parent) {
    setAutoExclusive(false);
}

void OptionButton::nextCheckState() {
    setChecked(true);
}

}  // namespace pelorin
