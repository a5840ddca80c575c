// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers for the drawing tests: filled bitmaps and per-channel comparison.
#pragma once

#include "RBitmap.h"

#include <gtest/gtest.h>

#include <cstdlib>

// A bitmap filled with one colour.
struct Filled : RMemBitmap
{
    Filled(int w, int h, RPixel p) : RMemBitmap(w, h)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                Row(y)[x] = p;
    }
};

// Every channel of actual within tolerance of expected.
inline ::testing::AssertionResult Near(RPixel actual, RPixel expected, int tolerance = 1)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        const int a = (int) ((actual >> shift) & 255), e = (int) ((expected >> shift) & 255);
        if (std::abs(a - e) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "0x" << actual << " differs from 0x" << expected
                                                 << " beyond " << std::dec << tolerance;
    }
    return ::testing::AssertionSuccess();
}

// Whether anything outside rect r differs from the marker colour.
inline bool ChangedOutside(const RBitmap& b, int l, int t, int r, int bottom, RPixel marker)
{
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if ((x < l || x >= r || y < t || y >= bottom) && b.At(x, y) != marker)
                return true;
    return false;
}
