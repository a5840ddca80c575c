// SPDX-License-Identifier: GPL-3.0-or-later
// Circles and discs (rules in RCanvas.h). Both are a ring between an inner and an outer radius
// (a disc has no inner one), evaluated per pixel of the clip that the ring's bounding box meets;
// all geometry is in double, so float inputs of any size stay finite.
#include "RCanvas.h"

#include "RBlend.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{
constexpr int kStrips = 16;
constexpr double kHalfDiagonal = 0.70710678118654752;

// Area of the disc of radius r around the origin inside the pixel square centred on (px, py):
// exact across each of kStrips strips, sampled at the strip's middle. The strips run across the
// edge's steeper direction (the pixel is mirrored to where the edge is nearer horizontal),
// which keeps the sampling error small and the result symmetric under x <-> y.
double DiscArea(double px, double py, double r)
{
    if (r <= 0.0)
        return 0.0;
    if (std::fabs(px) > std::fabs(py))
        std::swap(px, py);
    double sum = 0.0;
    for (int s = 0; s < kStrips; ++s)
    {
        const double ax = std::fabs(px - 0.5 + (s + 0.5) / kStrips);
        if (ax >= r)
            continue;
        const double h = std::sqrt((r - ax) * (r + ax));
        const double lo = std::max(py - 0.5, -h), hi = std::min(py + 0.5, h);
        if (hi > lo)
            sum += hi - lo;
    }
    return sum / kStrips;
}

// Coverage 0..255 of the ring inner < distance <= outer (inner < 0: a disc) for the pixel whose
// centre lies (px, py) from the ring's centre.
int Coverage(double px, double py, double inner, double outer, bool antialias)
{
    const double d = std::sqrt(px * px + py * py);
    if (!antialias)
        return d <= outer && d >= inner ? 255 : 0;
    if (d - kHalfDiagonal >= outer || (inner > 0.0 && d + kHalfDiagonal <= inner))
        return 0;
    if (d + kHalfDiagonal <= outer && (inner <= 0.0 || d - kHalfDiagonal >= inner))
        return 255;
    const double area = DiscArea(px, py, outer) - DiscArea(px, py, inner);
    return (int) std::lround(std::clamp(area, 0.0, 1.0) * 255.0);
}

void Ring(RBitmap& bmp, const RRect& clip, double cx, double cy, double inner, double outer, RPixel colour,
          float weight, RBlendMode mode, bool antialias)
{
    const int k = RBlend::Weight255(weight);
    if (k == 0 || clip.Empty() || !std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(outer) || outer < 0.0)
        return;
    const double reach = outer + 1.0;
    const double x0 = std::max(std::ceil(cx - reach), (double) clip.l);
    const double x1 = std::min(std::floor(cx + reach), (double) clip.r - 1);
    const double y0 = std::max(std::ceil(cy - reach), (double) clip.t);
    const double y1 = std::min(std::floor(cy + reach), (double) clip.b - 1);
    if (x0 > x1 || y0 > y1)
        return;
    for (int y = (int) y0; y <= (int) y1; ++y)
    {
        RPixel* row = bmp.Row(y);
        for (int x = (int) x0; x <= (int) x1; ++x)
        {
            const int cov = Coverage(x - cx, y - cy, inner, outer, antialias);
            if (cov)
                row[x] = RBlend::Pixel(mode, row[x], colour, RBlend::Div255(k * cov));
        }
    }
}
} // namespace

void RCanvas::Circle(float cx, float cy, float r, RPixel colour, float weight, RBlendMode mode, bool antialias)
{
    if (!std::isfinite(r) || r < 0.0f)
        return;
    Ring(mTarget, mClip, cx, cy, (double) r - 0.5, (double) r + 0.5, colour, weight, mode, antialias);
}

void RCanvas::FillCircle(float cx, float cy, float r, RPixel colour, float weight, RBlendMode mode, bool antialias)
{
    if (!std::isfinite(r) || r < 0.0f)
        return;
    Ring(mTarget, mClip, cx, cy, -1.0, r, colour, weight, mode, antialias);
}
