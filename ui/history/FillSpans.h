#pragma once

#include <span>
#include <vector>

// A filled range between two edges, drawn as one vertical span a pixel column: the cost grows
// with the width in pixels, not with how often the edges cross a row of pixels.
namespace pelorin::history {

struct FillSpan {
    int pixel;   // the pixel column
    double top;  // the span's ends in pixels, top <= bottom
    double bottom;
};

// The spans that fill between edges `lower` and `upper` at the same points `x`, all in pixels;
// a NaN on either edge breaks the range. Column p covers [p, p + 1): between two points the
// edges are straight and read at its centre; points within one column widen its span. Only
// columns in [firstPixel, lastPixel] are kept.
void FillSpans(std::span<const double> x, std::span<const double> lower,
               std::span<const double> upper, int firstPixel, int lastPixel,
               std::vector<FillSpan>& out);

}  // namespace pelorin::history
