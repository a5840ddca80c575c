// SPDX-License-Identifier: GPL-3.0-or-later
// The four blend modes on one pixel, in integer steps of 1/255 (formulas in RCanvas.h). Internal
// to the library.
#pragma once

#include "RCanvas.h"

namespace RBlend
{
// round(x / 255) for 0 <= x <= 255 * 255.
inline int Div255(int x)
{
    x += 128;
    return (x + (x >> 8)) >> 8;
}

// A weight 0..1 as 0..255; NaN and negatives give 0.
inline int Weight255(float w)
{
    if (!(w > 0.0f))
        return 0;
    if (w >= 1.0f)
        return 255;
    return (int) (w * 255.0f + 0.5f);
}

inline int Min255(int v) { return v < 255 ? v : 255; }

// d blended with s in mode m; k (1..255) is the weight times the coverage.
inline RPixel Pixel(RBlendMode m, RPixel d, RPixel s, int k)
{
    const int sr = RRed(s), sg = RGreen(s), sb = RBlue(s);
    const int dr = RRed(d), dg = RGreen(d), db = RBlue(d), da = RAlpha(d);
    if (m == RBlendMode::Copy)
    {
        if (k == 255)
            return s;
        const int j = 255 - k;
        return RPack(Div255(RAlpha(s) * k + da * j), Div255(sr * k + dr * j), Div255(sg * k + dg * j),
                     Div255(sb * k + db * j));
    }
    const int c = Div255(RAlpha(s) * k);
    if (c == 0)
        return d;
    const int outA = c + Div255(da * (255 - c));
    switch (m)
    {
    case RBlendMode::Add:
        return RPack(outA, Min255(dr + Div255(sr * c)), Min255(dg + Div255(sg * c)), Min255(db + Div255(sb * c)));
    case RBlendMode::Dodge:
    {
        auto dodge = [c](int dv, int sv)
        {
            const int den = 256 - Div255(sv * c);
            return Min255((dv * 256 + den / 2) / den);
        };
        return RPack(outA, dodge(dr, sr), dodge(dg, sg), dodge(db, sb));
    }
    default:
        break;
    }
    // Alpha: straight-alpha "over"; an opaque destination needs no division by the new alpha.
    if (da == 255)
    {
        const int j = 255 - c;
        return RPack(255, Div255(sr * c + dr * j), Div255(sg * c + dg * j), Div255(sb * c + db * j));
    }
    const int ns = c * 255, nd = da * (255 - c), den = ns + nd;
    auto mix = [&](int sv, int dv) { return (sv * ns + dv * nd + den / 2) / den; };
    return RPack(outA, mix(sr, dr), mix(sg, dg), mix(sb, db));
}
} // namespace RBlend
