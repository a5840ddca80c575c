// SPDX-License-Identifier: GPL-3.0-or-later
// Clip, blits, rectangles and masks. Coordinates are widened to 64 bits before any sum, so no
// int input can overflow; only the part inside the clip is ever visited.
#include "RCanvas.h"

#include "RBlend.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
// [a0, a1) limited to [lo, hi); false when nothing is left.
bool ClipSpan(int64_t& a0, int64_t& a1, int64_t lo, int64_t hi)
{
    a0 = std::max(a0, lo);
    a1 = std::min(a1, hi);
    return a0 < a1;
}
} // namespace

RCanvas::RCanvas(RBitmap& target) : mTarget(target) { ResetClip(); }

void RCanvas::SetClip(const RRect& clip) { mClip = clip.Intersect(RRect{0, 0, mTarget.Width(), mTarget.Height()}); }

void RCanvas::ResetClip() { SetClip(RRect{0, 0, mTarget.Width(), mTarget.Height()}); }

void RCanvas::Blit(const RBitmap& src, int srcX, int srcY, int w, int h, int dstX, int dstY, RBlendMode mode,
                   float weight)
{
    const int k = RBlend::Weight255(weight);
    if (k == 0 || w <= 0 || h <= 0)
        return;
    int64_t sx0 = srcX, sx1 = (int64_t) srcX + w, sy0 = srcY, sy1 = (int64_t) srcY + h;
    const int64_t offX = (int64_t) dstX - srcX, offY = (int64_t) dstY - srcY;
    if (!ClipSpan(sx0, sx1, 0, src.Width()) || !ClipSpan(sy0, sy1, 0, src.Height()))
        return;
    if (!ClipSpan(sx0, sx1, mClip.l - offX, mClip.r - offX) || !ClipSpan(sy0, sy1, mClip.t - offY, mClip.b - offY))
        return;
    const int cw = (int) (sx1 - sx0), ch = (int) (sy1 - sy0);

    // A source sharing memory with the target is read from a copy, so overlapping blits of
    // one bitmap onto itself see the source as it was.
    const RPixel* srcBase = src.Pixels() + sy0 * src.Stride() + sx0;
    std::ptrdiff_t srcStride = src.Stride();
    std::vector<RPixel> copy;
    const RPixel* tBegin = mTarget.Pixels();
    const RPixel* tEnd = tBegin + (std::ptrdiff_t) mTarget.Stride() * mTarget.Height();
    const RPixel* sBegin = src.Pixels();
    const RPixel* sEnd = sBegin + (std::ptrdiff_t) src.Stride() * src.Height();
    if (sBegin < tEnd && tBegin < sEnd)
    {
        copy.resize((size_t) cw * (size_t) ch);
        for (int y = 0; y < ch; ++y)
            std::memcpy(&copy[(size_t) y * cw], srcBase + y * srcStride, (size_t) cw * sizeof(RPixel));
        srcBase = copy.data();
        srcStride = cw;
    }

    for (int y = 0; y < ch; ++y)
    {
        const RPixel* s = srcBase + y * srcStride;
        RPixel* d = mTarget.Row((int) (sy0 + offY + y)) + (sx0 + offX);
        if (mode == RBlendMode::Copy && k == 255)
        {
            std::memcpy(d, s, (size_t) cw * sizeof(RPixel));
            continue;
        }
        for (int x = 0; x < cw; ++x)
            d[x] = RBlend::Pixel(mode, d[x], s[x], k);
    }
}

void RCanvas::FillRect(int x, int y, int w, int h, RPixel colour, float weight, RBlendMode mode)
{
    const int k = RBlend::Weight255(weight);
    if (k == 0 || w <= 0 || h <= 0)
        return;
    int64_t x0 = x, x1 = (int64_t) x + w, y0 = y, y1 = (int64_t) y + h;
    if (!ClipSpan(x0, x1, mClip.l, mClip.r) || !ClipSpan(y0, y1, mClip.t, mClip.b))
        return;
    for (int64_t py = y0; py < y1; ++py)
    {
        RPixel* row = mTarget.Row((int) py);
        for (int64_t px = x0; px < x1; ++px)
            row[px] = RBlend::Pixel(mode, row[px], colour, k);
    }
}

void RCanvas::FillMask(const uint8_t* mask, int pitch, int w, int h, int x, int y, RPixel colour, float weight,
                       RBlendMode mode)
{
    const int k = RBlend::Weight255(weight);
    if (!mask || k == 0 || w <= 0 || h <= 0 || pitch < w)
        return;
    int64_t x0 = x, x1 = (int64_t) x + w, y0 = y, y1 = (int64_t) y + h;
    if (!ClipSpan(x0, x1, mClip.l, mClip.r) || !ClipSpan(y0, y1, mClip.t, mClip.b))
        return;
    for (int64_t py = y0; py < y1; ++py)
    {
        RPixel* row = mTarget.Row((int) py);
        const uint8_t* m = mask + (py - y) * pitch;
        for (int64_t px = x0; px < x1; ++px)
        {
            const int kk = RBlend::Div255(k * m[px - x]);
            if (kk)
                row[px] = RBlend::Pixel(mode, row[px], colour, kk);
        }
    }
}
