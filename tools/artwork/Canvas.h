// SPDX-License-Identifier: GPL-3.0-or-later
// The generator's drawing target: premultiplied double-precision RGBA, so layers composite
// without rounding until the one conversion to 8-bit straight alpha at the end.
#pragma once

#include "ArtMath.h"
#include "RBitmap.h"

#include <vector>

namespace art {

// A straight-alpha colour, components 0..1.
struct Colour
{
    double r = 0.0, g = 0.0, b = 0.0, a = 1.0;
};

// From 8-bit components.
inline Colour Rgb(int r, int g, int b, double a = 1.0) { return {r / 255.0, g / 255.0, b / 255.0, a}; }
inline Colour Mix(const Colour& x, const Colour& y, double t)
{
    return {Mix(x.r, y.r, t), Mix(x.g, y.g, t), Mix(x.b, y.b, t), Mix(x.a, y.a, t)};
}
inline Colour WithAlpha(Colour c, double a)
{
    c.a = a;
    return c;
}

// A pixel box, x0 <= x < x1, y0 <= y < y1.
struct Box
{
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// The box of pixels a shape reaching from (x0, y0) to (x1, y1) can touch, with a margin.
Box BoundsOf(double x0, double y0, double x1, double y1, double margin = 1.0);

class Canvas
{
public:
    Canvas(int width, int height);

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }

    // Source-over of colour c at coverage 0..1 onto pixel (x, y); outside pixels are ignored.
    void Blend(int x, int y, const Colour& c, double coverage);

    // Every pixel of the box (clipped to the canvas) gets colour(px, py) at coverage(px, py),
    // both evaluated at the pixel centre (x + 0.5, y + 0.5).
    template <class Coverage, class Shade>
    void Paint(const Box& box, Coverage coverage, Shade colour)
    {
        const Box b = Clip(box);
        for (int y = b.y0; y < b.y1; ++y)
            for (int x = b.x0; x < b.x1; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                const double c = coverage(px, py);
                if (c > 0.0)
                    Blend(x, y, colour(px, py), c);
            }
    }

    // Source-over of another canvas with its top left at (dx, dy).
    void Over(const Canvas& src, int dx, int dy, double opacity = 1.0);
    // Source-over of a straight-alpha bitmap region (sx, sy, w, h) with its top left at (dx, dy).
    void Over(const RBitmap& src, int sx, int sy, int w, int h, int dx, int dy);

    // Multiplies the alpha of every pixel by mask(px, py), 0..1 (erasing where it is 0).
    template <class Mask>
    void MultiplyAlpha(Mask mask)
    {
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x) {
                const double m = mask(x + 0.5, y + 0.5);
                double* p = &mPixels[((size_t) y * mWidth + x) * 4];
                for (int k = 0; k < 4; ++k)
                    p[k] *= m;
            }
    }

    // Writes the canvas as 8-bit straight alpha into dst with its top left at (dx, dy).
    void CopyTo(RBitmap& dst, int dx, int dy) const;

private:
    Box Clip(const Box& b) const;

    int mWidth, mHeight;
    std::vector<double> mPixels; // premultiplied r, g, b, a
};

} // namespace art
