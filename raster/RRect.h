// SPDX-License-Identifier: GPL-3.0-or-later
// A rectangle of pixels: left and top inclusive, right and bottom exclusive.
#pragma once

struct RRect
{
    int l = 0, t = 0, r = 0, b = 0;

    constexpr int W() const { return r - l; }
    constexpr int H() const { return b - t; }
    constexpr bool Empty() const { return r <= l || b <= t; }
    // The common part of two rectangles; an empty rectangle when they have none.
    constexpr RRect Intersect(const RRect& o) const
    {
        RRect x{l > o.l ? l : o.l, t > o.t ? t : o.t, r < o.r ? r : o.r, b < o.b ? b : o.b};
        return x.Empty() ? RRect{} : x;
    }
};
