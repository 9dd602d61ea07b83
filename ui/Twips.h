#pragma once

#include <QRect>

namespace pelorin {

// Control geometry is kept in twips, 1440 to the inch. At 96 dots per inch 15 twips make one
// device-independent pixel; Qt scales those pixels for high-DPI screens.
inline constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// Left, Top, Width, Height in twips, relative to the container's outer top-left corner.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

inline QRect ToPixels(const TwipsRect& r) {
    return QRect(TwipsToPixels(r.left), TwipsToPixels(r.top), TwipsToPixels(r.width),
                 TwipsToPixels(r.height));
}

}  // namespace pelorin
