#include "PictureBox.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include "BgrColor.h"

namespace pelorin {
namespace {

constexpr int kBorderWidth = 2;
constexpr double kInchesPerMeter = 39.37007874;

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorderWidth);
}

void PictureBox::Polygon(std::span<const QPoint> vertices) {
    ensureImage();
    QPainter painter(&image_);
    painter.setPen(ColorFromBgr(foreColor_));
    painter.setBrush(ColorFromBgr(fillColor_));
    painter.drawPolygon(vertices.data(), static_cast<int>(vertices.size()));
    update();
}

void PictureBox::Print(const QString& text) {
    ensureImage();
    QPainter painter(&image_);
    painter.setFont(font());
    painter.setPen(ColorFromBgr(foreColor_));
    const QFontMetrics metrics(font(), &image_);
    painter.drawText(QPoint(currentX_, currentY_ + metrics.ascent()), text);
    update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(contentsRect(), palette().color(QPalette::Window));
    painter.drawImage(contentsRect().topLeft(), image_);
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    ensureImage();
}

// The image follows the drawing area's size; a hidden widget gets its resize event only when
// shown, while drawing starts before. On a high-density screen the image has as many pixels as
// the screen shows, and the drawing's own units stay device-independent pixels.
void PictureBox::ensureImage() {
    const QSize area = contentsRect().size();
    const qreal ratio = devicePixelRatioF();
    if (area == image_.deviceIndependentSize().toSize() && ratio == image_.devicePixelRatio()) {
        return;
    }
    QImage resized(area * ratio, QImage::Format_ARGB32_Premultiplied);
    resized.setDevicePixelRatio(ratio);
    // Text on the image is sized for the screen the widget shows on.
    resized.setDotsPerMeterX(qRound(logicalDpiX() * kInchesPerMeter));
    resized.setDotsPerMeterY(qRound(logicalDpiY() * kInchesPerMeter));
    resized.fill(Qt::transparent);
    if (!image_.isNull()) {
        QPainter(&resized).drawImage(QPointF(0, 0), image_);
    }
    image_ = resized;
}

}  // namespace pelorin
