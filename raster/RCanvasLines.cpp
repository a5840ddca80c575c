// SPDX-License-Identifier: GPL-3.0-or-later
// Lines (rules in RCanvas.h). Every pixel is computed from the end points by one exact integer
// formula rather than by stepping, so a line can start at its first visible step: the work is
// bounded by the clip, not by the line's length.
#include "RCanvas.h"

#include "RBlend.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace
{
constexpr int64_t kMaxSpan = int64_t(1) << 29; // keeps 2·i·d below 2^60
constexpr double kCutMargin = 4.0;             // the cut end points stay this far outside the clip

int64_t FloorDiv(int64_t a, int64_t b) // b > 0
{
    int64_t q = a / b;
    if (a % b != 0 && a < 0)
        --q;
    return q;
}

// Liang-Barsky: the part of the segment inside [l, r] × [t, b]; false when none.
bool CutToBox(double& x1, double& y1, double& x2, double& y2, double l, double t, double r, double b)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - l, r - x1, y1 - t, b - y1};
    for (int i = 0; i < 4; ++i)
    {
        if (p[i] == 0.0)
        {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double u = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, u);
        else
            t1 = std::min(t1, u);
    }
    if (t0 > t1)
        return false;
    const double ax = x1, ay = y1;
    x1 = std::round(ax + t0 * dx);
    y1 = std::round(ay + t0 * dy);
    x2 = std::round(ax + t1 * dx);
    y2 = std::round(ay + t1 * dy);
    return true;
}

struct Plot
{
    RBitmap& bmp;
    const RRect& clip;
    RBlendMode mode;
    RPixel colour;
    int weight;
    bool swapXY; // the major axis is y: (major, minor) = (y, x)

    void operator()(int64_t major, int64_t minor, int cov) const
    {
        const int64_t x = swapXY ? minor : major, y = swapXY ? major : minor;
        if (cov == 0 || x < clip.l || x >= clip.r || y < clip.t || y >= clip.b)
            return;
        RPixel& p = bmp.Row((int) y)[x];
        p = RBlend::Pixel(mode, p, colour, RBlend::Div255(weight * cov));
    }
};
} // namespace

void RCanvas::Line(int x1, int y1, int x2, int y2, RPixel colour, float weight, RBlendMode mode, bool antialias)
{
    const int k = RBlend::Weight255(weight);
    if (k == 0 || mClip.Empty())
        return;
    int64_t a1 = x1, b1 = y1, a2 = x2, b2 = y2;
    if (std::max(std::llabs(a2 - a1), std::llabs(b2 - b1)) > kMaxSpan)
    {
        double fx1 = x1, fy1 = y1, fx2 = x2, fy2 = y2;
        if (!CutToBox(fx1, fy1, fx2, fy2, mClip.l - kCutMargin, mClip.t - kCutMargin, mClip.r - 1 + kCutMargin,
                      mClip.b - 1 + kCutMargin))
            return;
        a1 = (int64_t) fx1, b1 = (int64_t) fy1, a2 = (int64_t) fx2, b2 = (int64_t) fy2;
    }

    // In (major, minor) coordinates, the major delta positive.
    const bool swapXY = std::llabs(b2 - b1) > std::llabs(a2 - a1);
    if (swapXY)
    {
        std::swap(a1, b1);
        std::swap(a2, b2);
    }
    if (a2 < a1)
    {
        std::swap(a1, a2);
        std::swap(b1, b2);
    }
    const int64_t dMajor = a2 - a1, dMinor = b2 - b1;
    const Plot plot{mTarget, mClip, mode, colour, k, swapXY};
    if (dMajor == 0)
    {
        plot(a1, b1, 255);
        return;
    }
    const int64_t lo = swapXY ? mClip.t : mClip.l, hi = swapXY ? mClip.b : mClip.r;
    const int64_t iBegin = std::max<int64_t>(0, lo - a1), iEnd = std::min<int64_t>(dMajor, hi - 1 - a1);
    for (int64_t i = iBegin; i <= iEnd; ++i)
    {
        if (!antialias)
        {
            plot(a1 + i, b1 + FloorDiv(2 * i * dMinor + dMajor, 2 * dMajor), 255);
            continue;
        }
        const int64_t num = i * dMinor;
        const int64_t q = FloorDiv(num, dMajor);
        const int64_t rem = num - q * dMajor; // 0 .. dMajor - 1
        const int below = (int) ((255 * rem + dMajor / 2) / dMajor);
        plot(a1 + i, b1 + q, 255 - below);
        plot(a1 + i, b1 + q + 1, below);
    }
}
