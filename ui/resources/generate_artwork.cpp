// Draws the program's icon (64 x 64) and the info window's picture (400 x 232) in the style of
// the status graphic: the spacecraft as a box whose side faces carry yellow solar cells.
// Run through generate-artwork.sh, which writes both files beside this source.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <cstdio>

namespace {

// The upper box figure of the status graphic, in its own pixel units: +X on the left, +Y on
// the right, -Z on top.
const QPolygonF kPlusX({{60, 20}, {60, 80}, {110, 90}, {110, 30}});
const QPolygonF kPlusY({{110, 30}, {110, 90}, {160, 80}, {160, 20}});
const QPolygonF kMinusZ({{60, 20}, {110, 30}, {160, 20}, {110, 10}});

const QColor kCellYellow(255, 214, 0);
const QColor kShadedYellow(222, 176, 0);
const QColor kTopGrey(206, 208, 216);
const QColor kCellLine(120, 90, 0);

// Cell grid on a four-sided face whose corners are top-left, bottom-left, bottom-right,
// top-right: `columns` x `rows` cells.
void DrawCells(QPainter& painter, const QPolygonF& face, int columns, int rows) {
    auto lerp = [](QPointF a, QPointF b, double t) { return a + (b - a) * t; };
    for (int c = 1; c < columns; ++c) {
        const double t = static_cast<double>(c) / columns;
        painter.drawLine(lerp(face[0], face[3], t), lerp(face[1], face[2], t));
    }
    for (int r = 1; r < rows; ++r) {
        const double t = static_cast<double>(r) / rows;
        painter.drawLine(lerp(face[0], face[1], t), lerp(face[3], face[2], t));
    }
}

// The spacecraft with its four antennas, mapped by the painter's current transform.
void DrawSpacecraft(QPainter& painter, double outlineWidth, bool antennas) {
    const QPen outline(Qt::black, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (antennas) {
        painter.setPen(QPen(QColor(70, 70, 80), outlineWidth * 0.8, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(60, 80), QPointF(28, 108));
        painter.drawLine(QPointF(160, 80), QPointF(192, 108));
        painter.drawLine(QPointF(110, 10), QPointF(110, -22));
        painter.drawLine(QPointF(110, 90), QPointF(110, 126));
    }
    painter.setPen(outline);
    painter.setBrush(kCellYellow);
    painter.drawPolygon(kPlusX);
    painter.setBrush(kShadedYellow);
    painter.drawPolygon(kPlusY);
    painter.setBrush(kTopGrey);
    painter.drawPolygon(kMinusZ);
    painter.setPen(QPen(kCellLine, outlineWidth * 0.45));
    DrawCells(painter, kPlusX, 2, 3);
    DrawCells(painter, kPlusY, 2, 3);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(kPlusX);
    painter.drawPolygon(kPlusY);
    painter.drawPolygon(kMinusZ);
}

// A picture of `width` x `height` whose sky runs from `top` down to `bottom`.
QImage Sky(int width, int height, const QColor& top, const QColor& bottom) {
    QImage image(width, height, QImage::Format_RGB888);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, top);
    sky.setColorAt(1, bottom);
    painter.fillRect(image.rect(), sky);
    return image;
}

QImage DrawIcon() {
    QImage image = Sky(64, 64, QColor(28, 52, 110), QColor(10, 20, 52));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Box spans x 60..160 and y 10..90; centre it with a margin.
    painter.translate(32, 33);
    painter.scale(0.5, 0.5);
    painter.translate(-110, -50);
    DrawSpacecraft(painter, 2.6, false);
    return image;
}

QImage DrawInfoPicture() {
    QImage image = Sky(400, 232, QColor(226, 236, 248), QColor(250, 252, 255));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A pale limb of the Earth low on the right, and the orbit as a dashed arc.
    QRadialGradient earth(QPointF(330, 560), 420);
    earth.setColorAt(0.80, QColor(200, 222, 242));
    earth.setColorAt(0.95, QColor(222, 236, 250));
    earth.setColorAt(1.0, QColor(236, 244, 252, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(earth);
    painter.drawEllipse(QPointF(330, 560), 420, 420);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(150, 170, 200), 1.2, Qt::DashLine));
    painter.drawEllipse(QPointF(262, 112), 140, 40);
    // The spacecraft in the free space right of the title lines.
    painter.translate(262, 96);
    painter.scale(0.82, 0.82);
    painter.translate(-110, -50);
    DrawSpacecraft(painter, 2.2, true);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ICON.png PICTURE.bmp\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const bool ok = DrawIcon().save(QString::fromLocal8Bit(argv[1]), "PNG") &&
                    DrawInfoPicture().save(QString::fromLocal8Bit(argv[2]), "BMP");
    return ok ? 0 : 1;
}
