// SPDX-License-Identifier: GPL-3.0-or-later
// Where a text goes (the placement rule of RFont.h), shared by the platform fonts. Internal to
// the library. Positions are 64-bit so that no box or width can overflow.
#pragma once

#include "RFont.h"

#include <cmath>
#include <cstdint>

struct RTextPlace
{
    int64_t x = 0, y = 0;   // the reference point: top-left corner of the first cell
    double dirX = 1, dirY = 0;   // along the baseline, in screen coordinates (y down)
    double downX = 0, downY = 1; // from the cell's top towards its bottom

    RTextPlace(const RRect& box, RTextAlign align, int64_t width, int orientation)
    {
        x = box.l;
        y = box.t;
        if (align == RTextAlign::Right)
            x = (int64_t) box.r - width;
        else if (align == RTextAlign::Centre)
        {
            const int64_t spare = (int64_t) box.r - box.l - width;
            x += spare >= 0 ? spare / 2 : -((-spare + 1) / 2);
        }
        const double a = (orientation % 360) * 3.14159265358979323846 / 180.0;
        dirX = std::cos(a);
        dirY = -std::sin(a);
        downX = std::sin(a);
        downY = std::cos(a);
    }
};
