// SPDX-License-Identifier: GPL-3.0-or-later
// Analog prototype H(s) = (b0 + b1*s + b2*s^2) / (a0 + a1*s + a2*s^2), s normalised to the
// section frequency.
#pragma once

#include "FilterShape.h"

struct AnalogPrototype
{
    double b0 = 1.0, b1 = 0.0, b2 = 0.0;
    double a0 = 1.0, a1 = 0.0, a2 = 0.0;

    // A = 10^(gainDb/40) is the square root of the linear gain, so a Bell reaches gainDb at its
    // centre and a shelf on its shelf side. Shapes without a gain ignore gainDb, first-order
    // shapes also q. A value outside FilterShape gives the identity.
    static AnalogPrototype Make(FilterShape shape, double q, double gainDb);

    // |H(j*omega)|^2 at omega = f/f0, without prewarping.
    double MagnitudeSquared(double omega) const;
};
