// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing into a bitmap. Every operation draws only inside the canvas's clip rectangle, which
// is always inside the target bitmap (the whole bitmap unless set otherwise), so any
// coordinates are safe, however far outside. Colours are straight-alpha 0xAARRGGBB (RBitmap.h).
// Pixel (x, y) is the unit square centred on the point (x, y): integer points are pixel centres.
//
// A weight w in 0..1 (NaN counts as 0) scales the effect of every operation; k = w times the
// antialiasing coverage where there is one. The source alpha a (the source pixel's or the
// colour's A / 255) and k combine to c = a·k. Per channel, with s the source and d the
// destination value in 0..255 and A_d the destination alpha / 255:
//   Copy:  d' = s·k + d·(1 − k) on all four channels, alpha included (alpha plays no part);
//   Alpha: the straight-alpha "over": A' = c + A_d·(1 − c) and
//          d' = (s·c + d·A_d·(1 − c)) / A', which is s·c + d·(1 − c) on an opaque destination;
//   Add:   d' = min(255, d + s·c);
//   Dodge: d' = min(255, d / (1 − s·c / 256)), a colour dodge of d by the weighted source.
// Add and Dodge set the destination alpha as Alpha does. Weights and coverages are held in
// steps of 1/255 and results rounded to nearest, so a channel may differ by 1 from the exact
// formula. Each function below says how it rasterises.
#pragma once

#include "RBitmap.h"
#include "RRect.h"

#include <cstdint>

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
    // to the source bitmap, the clip and the target; src may be the target itself, overlapping.
    void Blit(const RBitmap& src, int srcX, int srcY, int w, int h, int dstX, int dstY, RBlendMode mode,
              float weight);

    // A filled rectangle of w × h pixels at (x, y); nothing when w or h is below 1.
    void FillRect(int x, int y, int w, int h, RPixel colour, float weight, RBlendMode mode);

    // The colour through a coverage mask of w × h bytes (0 none .. 255 full, rows pitch bytes
    // apart) with its top-left pixel at (x, y): each pixel is drawn with k = w·coverage.
    void FillMask(const uint8_t* mask, int pitch, int w, int h, int x, int y, RPixel colour, float weight,
                  RBlendMode mode);

    // A one-pixel line from (x1, y1) to (x2, y2), both end points drawn, each pixel once.
    // Without antialiasing: Bresenham; along the major axis, the pixel nearest the ideal line
    // in every step, halves rounded towards the greater minor coordinate, the same pixels in
    // either direction. With it: Wu's algorithm, the two pixels beside the ideal line sharing
    // its coverage in proportion, the end points (and every pixel the line passes through
    // centrally) at full coverage. Only the steps inside the clip are visited. Lines longer
    // than 2^29 pixels are first cut in double precision to the part near the clip, which may
    // move their visible pixels by one.
    void Line(int x1, int y1, int x2, int y2, RPixel colour, float weight, RBlendMode mode, bool antialias);

    // A circle of radius r around (cx, cy), one pixel wide (the ring between r − 0.5 and
    // r + 0.5), and a filled disc of radius r. Antialiased, each pixel takes the part of its
    // area that the ideal shape covers (integrated in 16 strips); without antialiasing, the
    // pixels whose centres lie within half a pixel of the circle (or within r of the centre).
    // Non-finite or negative values draw nothing. Only pixels of the clip are visited.
    void Circle(float cx, float cy, float r, RPixel colour, float weight, RBlendMode mode, bool antialias);
    void FillCircle(float cx, float cy, float r, RPixel colour, float weight, RBlendMode mode, bool antialias);

private:
    RBitmap& mTarget;
    RRect mClip;
};
