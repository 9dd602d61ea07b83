#include "Module1.h"

#include <QPoint>
#include <QString>
#include <array>

#include "PictureBox.h"

namespace pelorin::Module1 {
namespace {

constexpr std::int32_t kPenThreshold = 49344;  // hex C0C0

// One face of the two box figures: its four corners and the top-left corner of its name, in
// pixels of the picture's drawing area.
struct Face {
    const char* name;
    std::array<QPoint, 4> vertices;
    QPoint namePosition;
};

const Face kPlusX{"+X", {{{60, 20}, {60, 80}, {110, 90}, {110, 30}}}, {75, 50}};
const Face kPlusY{"+Y", {{{110, 30}, {110, 90}, {160, 80}, {160, 20}}}, {130, 50}};
const Face kMinusZ{"-Z", {{{60, 20}, {110, 30}, {160, 20}, {110, 10}}}, {103, 12}};
const Face kMinusY{"-Y", {{{60, 120}, {60, 180}, {110, 170}, {110, 110}}}, {75, 140}};
const Face kMinusX{"-X", {{{110, 110}, {110, 170}, {160, 180}, {160, 120}}}, {130, 140}};
const Face kPlusZ{"+Z", {{{60, 180}, {110, 190}, {160, 180}, {110, 170}}}, {103, 175}};

void DrawFace(PictureBox& Picture1, const Face& face, std::int32_t color) {
    Picture1.setForeColor(PenColorFor(color));
    Picture1.setFillColor(color);
    Picture1.Polygon(face.vertices);
    Picture1.setCurrentX(face.namePosition.x());
    Picture1.setCurrentY(face.namePosition.y());
    Picture1.Print(QString::fromLatin1(face.name));
}

}  // namespace

std::int32_t PenColorFor(std::int32_t color) {
    return color >= kPenThreshold ? kBlack : kWhite;
}

void Draw_PlusX(PictureBox& Picture1, const std::int32_t& color) {
    DrawFace(Picture1, kPlusX, color);
}
void Draw_MinusX(PictureBox& Picture1, const std::int32_t& color) {
    DrawFace(Picture1, kMinusX, color);
}
void Draw_PlusY(PictureBox& Picture1, const std::int32_t& color) {
    DrawFace(Picture1, kPlusY, color);
}
void Draw_MinusY(PictureBox& Picture1, const std::int32_t& color) {
    DrawFace(Picture1, kMinusY, color);
}
void Draw_PlusZ(PictureBox& Picture1, const std::int32_t& color) {
    DrawFace(Picture1, kPlusZ, color);
}
void Draw_MinusZ(PictureBox& Picture1, const std::int32_t& color) {
    DrawFace(Picture1, kMinusZ, color);
}

std::string ByteToBin(std::uint8_t b) {
    std::string bits;
    for (unsigned mask = 128; mask > 0; mask >>= 1) {
        bits += (b & mask) == mask ? '1' : '0';
    }
    return bits;
}

}  // namespace pelorin::Module1
