#pragma once

#include <QFrame>
#include <QImage>
#include <QPoint>
#include <cstdint>
#include <span>

namespace pelorin {

// The picture box of the status graphic: a drawing surface with a persistent backing image,
// drawn on through a pen colour, a fill colour and a text position, all in pixels of its
// drawing area (inside the sunken border, (0, 0) at the top left). The image is painted on
// every repaint, so the drawing survives being covered; where nothing is drawn it is clear,
// and the palette's window colour shows, whatever palette the desktop switches to.
class PictureBox : public QFrame {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Colours are packed 0x00BBGGRR. ForeColor draws outlines and text, FillColor fills shapes.
    void setForeColor(std::int32_t color) { foreColor_ = color; }
    std::int32_t ForeColor() const { return foreColor_; }
    void setFillColor(std::int32_t color) { fillColor_ = color; }
    std::int32_t FillColor() const { return fillColor_; }
    // Top-left corner of the next printed text.
    void setCurrentX(int x) { currentX_ = x; }
    void setCurrentY(int y) { currentY_ = y; }

    // Closed outline through the vertices in ForeColor, inside filled with FillColor.
    void Polygon(std::span<const QPoint> vertices);
    // Prints `text` at the text position in the widget's font and ForeColor; the background
    // shows through between the letters.
    void Print(const QString& text);

    // The drawing area as drawn so far, in device pixels (as many as the drawing's units on a
    // screen of device pixel ratio 1); transparent where nothing is drawn.
    const QImage& image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ensureImage();

    QImage image_;
    std::int32_t foreColor_ = 0;
    std::int32_t fillColor_ = 0;
    int currentX_ = 0;
    int currentY_ = 0;
};

}  // namespace pelorin
