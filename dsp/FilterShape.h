// SPDX-License-Identifier: GPL-3.0-or-later
// The analog prototype of a filter section. The numbers are stored in design caches and compared,
// so they are fixed.
#pragma once

enum class FilterShape : int
{
    Bell = 0,
    LowShelf = 1,
    HighShelf = 2,
    LowPass2 = 3,
    HighPass2 = 4,
    LowPass1 = 5,
    HighPass1 = 6,
};
