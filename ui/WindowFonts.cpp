#include "WindowFonts.h"

namespace pelorin {
namespace {

constexpr double kWindowPointSize = 8.25;
constexpr double kFaceNamePointSize = 9.75;
constexpr double kInfoTitlePointSize = 13.5;

QFont Make(const char* family, QFont::StyleHint hint, double pointSize, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(hint);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace

QFont WindowFonts::Regular() {
    return Make("MS Sans Serif", QFont::SansSerif, kWindowPointSize, false);
}

QFont WindowFonts::Bold() {
    return Make("MS Sans Serif", QFont::SansSerif, kWindowPointSize, true);
}

QFont WindowFonts::PasteBox() {
    QFont font = Make("Courier New", QFont::Monospace, kWindowPointSize, false);
    font.setFixedPitch(true);
    return font;
}

QFont WindowFonts::FaceNames() {
    return Make("MS Sans Serif", QFont::SansSerif, kFaceNamePointSize, true);
}

QFont WindowFonts::InfoTitle() {
    return Make("MS Sans Serif", QFont::SansSerif, kInfoTitlePointSize, true);
}

}  // namespace pelorin
