// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing into a bitmap. Every operation draws only inside the canvas's clip rectangle, which
// is always inside the target bitmap (the whole bitmap unless set otherwise), so any
// coordinates are safe, however far outside. Colours are straight-alpha 0xAARRGGBB (RBitmap.h).
//
// A weight w in 0..1 scales the effect of every operation; the source alpha a (the source
// pixel's or the colour's A / 255) and w combine to the coverage c = a·w (times the
// antialiasing coverage where there is one). Per channel, with s the source and d the
// destination value in 0..255:
//   Copy:  d' = s·w + d·(1 − w), alpha ignored (the destination alpha becomes the source's);
//   Alpha: d' = s·c + d·(1 − c); the destination alpha becomes a + A_d·(1 − a) under the same weight;
//   Add:   d' = min(255, d + s·c);
//   Dodge: d' = min(255, d / (1 − s·c / 256)), a colour dodge of d by the weighted source.
// Results are rounded to nearest. Each function below says how it rasterises.
#pragma once

#include "RBitmap.h"
#include "RRect.h"

enum class RBlendMode
{
    Copy,  // plain copy, alpha ignored
    Alpha, // copy with source alpha
    Add,   // additive with source alpha
    Dodge, // colour dodge with source alpha
};

class RCanvas
{
public:
    explicit RCanvas(RBitmap& target);

    RBitmap& Target() { return mTarget; }
    // The clip becomes clip ∩ the bitmap.
    void SetClip(const RRect& clip);
    void ResetClip();
    const RRect& Clip() const { return mClip; }

    // Pixels of src in (srcX, srcY, srcX + w, srcY + h) onto the canvas at (dstX, dstY), clipped
    // to the source bitmap, the clip and the target.
    void Blit(const RBitmap& src, int srcX, int srcY, int w, int h, int dstX, int dstY, RBlendMode mode,
              float weight);

    // A filled rectangle of w × h pixels at (x, y).
    void FillRect(int x, int y, int w, int h, RPixel colour, float weight, RBlendMode mode);

    // A one-pixel line from (x1, y1) to (x2, y2), both end points drawn. Without antialiasing:
    // Bresenham. With it: Wu's algorithm, the two pixels beside the ideal line sharing its
    // coverage, the end points at full coverage.
    void Line(int x1, int y1, int x2, int y2, RPixel colour, float weight, RBlendMode mode, bool antialias);

    // A circle of radius r around (cx, cy), one pixel wide, and a filled disc. Antialiased,
    // each pixel takes the area of it that the ideal shape covers; without antialiasing, the
    // pixels whose centres lie within half a pixel of the circle (or inside the disc).
    void Circle(float cx, float cy, float r, RPixel colour, float weight, RBlendMode mode, bool antialias);
    void FillCircle(float cx, float cy, float r, RPixel colour, float weight, RBlendMode mode, bool antialias);

private:
    RBitmap& mTarget;
    RRect mClip;
};
