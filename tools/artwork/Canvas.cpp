// SPDX-License-Identifier: GPL-3.0-or-later
#include "Canvas.h"

#include <algorithm>

namespace art {

Box BoundsOf(double x0, double y0, double x1, double y1, double margin)
{
    return {(int) std::floor(std::min(x0, x1) - margin), (int) std::floor(std::min(y0, y1) - margin),
            (int) std::floor(std::max(x0, x1) + margin) + 1, (int) std::floor(std::max(y0, y1) + margin) + 1};
}

Canvas::Canvas(int width, int height)
    : mWidth(width), mHeight(height), mPixels((size_t) width * (size_t) height * 4, 0.0)
{
}

Box Canvas::Clip(const Box& b) const
{
    return {std::max(b.x0, 0), std::max(b.y0, 0), std::min(b.x1, mWidth), std::min(b.y1, mHeight)};
}

void Canvas::Blend(int x, int y, const Colour& c, double coverage)
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return;
    const double a = Clamp01(c.a * coverage);
    double* p = &mPixels[((size_t) y * mWidth + x) * 4];
    const double keep = 1.0 - a;
    p[0] = c.r * a + p[0] * keep;
    p[1] = c.g * a + p[1] * keep;
    p[2] = c.b * a + p[2] * keep;
    p[3] = a + p[3] * keep;
}

void Canvas::Over(const Canvas& src, int dx, int dy, double opacity)
{
    for (int y = 0; y < src.mHeight; ++y)
        for (int x = 0; x < src.mWidth; ++x) {
            const int tx = x + dx, ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= mWidth || ty >= mHeight)
                continue;
            const double* s = &src.mPixels[((size_t) y * src.mWidth + x) * 4];
            double* p = &mPixels[((size_t) ty * mWidth + tx) * 4];
            const double keep = 1.0 - s[3] * opacity;
            for (int k = 0; k < 4; ++k)
                p[k] = s[k] * opacity + p[k] * keep;
        }
}

void Canvas::Over(const RBitmap& src, int sx, int sy, int w, int h, int dx, int dy)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const RPixel s = src.At(sx + x, sy + y);
            Blend(dx + x, dy + y, Rgb(RRed(s), RGreen(s), RBlue(s), RAlpha(s) / 255.0), 1.0);
        }
}

void Canvas::CopyTo(RBitmap& dst, int dx, int dy) const
{
    for (int y = 0; y < mHeight; ++y) {
        const int ty = y + dy;
        if (ty < 0 || ty >= dst.Height())
            continue;
        RPixel* row = dst.Row(ty);
        for (int x = 0; x < mWidth; ++x) {
            const int tx = x + dx;
            if (tx < 0 || tx >= dst.Width())
                continue;
            const double* p = &mPixels[((size_t) y * mWidth + x) * 4];
            const int a = (int) std::floor(Clamp01(p[3]) * 255.0 + 0.5);
            if (a == 0) {
                row[tx] = 0;
                continue;
            }
            // Straight colour from premultiplied: divide by the exact alpha, not the rounded one.
            auto channel = [&](double v) { return (int) std::floor(Clamp01(v / p[3]) * 255.0 + 0.5); };
            row[tx] = RPack(a, channel(p[0]), channel(p[1]), channel(p[2]));
        }
    }
}

} // namespace art
