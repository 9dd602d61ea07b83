#include "CaptionFrame.h"

#include <QStyleOptionGroupBox>

#include "WindowFonts.h"

namespace pelorin {

const QColor CaptionFrame::kCaptionColor(128, 128, 128);

CaptionFrame::CaptionFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {
    // The bold font reaches the caption only: every control inside sets its own font.
    setFont(WindowFonts::Bold());
}

void CaptionFrame::initStyleOption(QStyleOptionGroupBox* option) const {
    QGroupBox::initStyleOption(option);
    // Only the caption is painted from this option, so the grey stays out of the children.
    option->textColor = kCaptionColor;
    option->palette.setColor(QPalette::WindowText, kCaptionColor);
}

}  // namespace pelorin
