// The spacecraft status graphic: the faces drawn at start, the pen rule, repainting.
#include "BgrColor.h"
#include "Module1.h"
#include "WindowFonts.h"
#include "window_driver.h"

namespace {

using pelorin::Module1::FaceOffColor;
using pelorin::Module1::FaceOnColor;

struct FacePoints {
    const char* name;
    void (*draw)(pelorin::PictureBox&, const std::int32_t&);
    QPoint inside;   // inside the face, clear of its name
    QPoint outline;  // on its outline, not shared with another face
    QRect nameArea;  // where its name is printed, inside the face
};

const FacePoints kFaces[] = {
    {"+X", pelorin::Module1::Draw_PlusX, {100, 70}, {60, 50}, {75, 50, 18, 12}},
    {"+Y", pelorin::Module1::Draw_PlusY, {120, 75}, {160, 50}, {130, 50, 18, 12}},
    {"-Z", pelorin::Module1::Draw_MinusZ, {80, 20}, {85, 15}, {103, 14, 16, 10}},
    {"-Y", pelorin::Module1::Draw_MinusY, {100, 125}, {60, 150}, {75, 140, 18, 12}},
    {"-X", pelorin::Module1::Draw_MinusX, {150, 165}, {160, 150}, {130, 140, 18, 12}},
    {"+Z", pelorin::Module1::Draw_PlusZ, {80, 180}, {85, 185}, {103, 177, 16, 9}},
};

// Pixels of about `color` (the names are drawn with smoothed edges).
int CountPixels(const QImage& image, const QRect& area, const QColor& color) {
    constexpr int kTolerance = 40;
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool near = std::abs(c.red() - color.red()) <= kTolerance &&
                              std::abs(c.green() - color.green()) <= kTolerance &&
                              std::abs(c.blue() - color.blue()) <= kTolerance;
            n += near ? 1 : 0;
        }
    }
    return n;
}

TEST(StatusGraphic, AtStartAllSixFacesAreBlackWithWhiteOutlinesAndNames) {
    WindowDriver window;
    const QImage& image = window.picture()->image();
    for (const FacePoints& face : kFaces) {
        SCOPED_TRACE(face.name);
        EXPECT_EQ(image.pixelColor(face.inside), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(face.outline), QColor(Qt::white));
        EXPECT_GT(CountPixels(image, face.nameArea, Qt::white), 2);
    }
}

struct PenCase {
    std::int32_t fill;
    QColor fillColor;
    QColor pen;
};

TEST(StatusGraphic, PenColourFollowsThePackedColourNumber) {
    const PenCase cases[] = {
        {0, QColor(0, 0, 0), Qt::white},           {65535, QColor(255, 255, 0), Qt::black},
        {49343, QColor(0xBF, 0xC0, 0), Qt::white},  // hex C0BF
        {49344, QColor(0xC0, 0xC0, 0), Qt::black},  // hex C0C0
        {255, QColor(255, 0, 0), Qt::white},        // red: bright, but a small number
        {0xFF0000, QColor(0, 0, 255), Qt::black},   // blue: dark, but a large number
    };
    pelorin::PictureBox picture;
    picture.setFont(pelorin::WindowFonts::FaceNames());
    picture.resize(217, 209);
    for (const PenCase& c : cases) {
        SCOPED_TRACE(c.fill);
        pelorin::Module1::Draw_PlusX(picture, c.fill);
        EXPECT_EQ(picture.image().pixelColor(100, 70), c.fillColor);
        EXPECT_EQ(picture.image().pixelColor(60, 50), c.pen);
        EXPECT_GT(CountPixels(picture.image(), {75, 50, 18, 12}, c.pen), 2);
        EXPECT_EQ(picture.ForeColor(), pelorin::BgrFromColor(c.pen));
    }
}

TEST(StatusGraphic, RedrawingAFacePaintsItCompletelyAgain) {
    pelorin::PictureBox picture;
    picture.resize(217, 209);
    pelorin::Module1::Draw_MinusX(picture, FaceOnColor);
    pelorin::Module1::Draw_MinusX(picture, FaceOffColor);
    const QRect face(112, 122, 46, 46);
    EXPECT_EQ(CountPixels(picture.image(), face, QColor(255, 255, 0)), 0);
    EXPECT_EQ(picture.image().pixelColor(160, 150), QColor(Qt::white));
}

TEST(StatusGraphic, TheLaterFacePaintsTheSharedEdge) {
    pelorin::PictureBox picture;
    picture.resize(217, 209);
    pelorin::Module1::Draw_MinusZ(picture, FaceOffColor);  // white outline
    pelorin::Module1::Draw_PlusX(picture, FaceOnColor);    // black outline over the shared edge
    EXPECT_EQ(picture.image().pixelColor(85, 25), QColor(Qt::black));
}

TEST(StatusGraphic, TheDrawingSurvivesARepaint) {
    WindowDriver window;
    window.picture()->update();
    WindowDriver::Settle();
    const QImage shown = window.picture()->grab().toImage();
    const QPoint offset = window.picture()->contentsRect().topLeft();
    for (const FacePoints& face : kFaces) {
        EXPECT_EQ(shown.pixelColor(face.inside + offset), QColor(Qt::black)) << face.name;
    }
}

TEST(StatusGraphic, ByteToBinWritesBit7First) {
    const std::pair<int, const char*> cases[] = {
        {0, "00000000"}, {5, "00000101"}, {22, "00010110"}, {128, "10000000"}, {255, "11111111"}};
    for (const auto& [b, bits] : cases) {
        EXPECT_EQ(pelorin::Module1::ByteToBin(static_cast<std::uint8_t>(b)), bits) << b;
    }
}

}  // namespace
