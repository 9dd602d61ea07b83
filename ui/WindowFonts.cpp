#include "WindowFonts.h"

#include <QStringList>

namespace pelorin {
namespace {

constexpr double kWindowPointSize = 8.25;
constexpr double kFaceNamePointSize = 9.75;
constexpr double kInfoTitlePointSize = 13.5;

// The designed family first, then families of about its width that desktops often have.
const QStringList kSansFamilies = {QStringLiteral("MS Sans Serif"),
                                   QStringLiteral("Microsoft Sans Serif"),
                                   QStringLiteral("Liberation Sans"),
                                   QStringLiteral("Arimo"),
                                   QStringLiteral("Arial"),
                                   QStringLiteral("Helvetica"),
                                   QStringLiteral("DejaVu Sans Condensed")};
const QStringList kMonospaceFamilies = {QStringLiteral("Courier New"),
                                        QStringLiteral("Liberation Mono"),
                                        QStringLiteral("Cousine"), QStringLiteral("Courier")};

QFont Make(const QStringList& families, QFont::StyleHint hint, double pointSize, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace

QFont WindowFonts::Regular() {
    return Make(kSansFamilies, QFont::SansSerif, kWindowPointSize, false);
}

QFont WindowFonts::Bold() {
    return Make(kSansFamilies, QFont::SansSerif, kWindowPointSize, true);
}

QFont WindowFonts::PasteBox() {
    QFont font = Make(kMonospaceFamilies, QFont::Monospace, kWindowPointSize, false);
    font.setFixedPitch(true);
    return font;
}

QFont WindowFonts::FaceNames() {
    return Make(kSansFamilies, QFont::SansSerif, kFaceNamePointSize, true);
}

QFont WindowFonts::InfoTitle() {
    return Make(kSansFamilies, QFont::SansSerif, kInfoTitlePointSize, true);
}

}  // namespace pelorin
