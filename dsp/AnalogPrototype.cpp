// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnalogPrototype.h"

#include <cmath>

AnalogPrototype AnalogPrototype::Make(FilterShape shape, double q, double gainDb)
{
    AnalogPrototype p;
    const double a = std::pow(10.0, gainDb * 0.025);
    const double sa = std::sqrt(a);
    switch (shape)
    {
    case FilterShape::Bell:
        p = { 1.0, a / q, 1.0, 1.0, 1.0 / (a * q), 1.0 };
        break;
    case FilterShape::LowShelf:
        p = { a * a, sa * a / q, a, 1.0, sa / q, a };
        break;
    case FilterShape::HighShelf:
        p = { a, sa * a / q, a * a, a, sa / q, 1.0 };
        break;
    case FilterShape::LowPass2:
        p = { 1.0, 0.0, 0.0, 1.0, 1.0 / q, 1.0 };
        break;
    case FilterShape::HighPass2:
        p = { 0.0, 0.0, 1.0, 1.0, 1.0 / q, 1.0 };
        break;
    case FilterShape::LowPass1:
        p = { 1.0, 0.0, 0.0, 1.0, 1.0, 0.0 };
        break;
    case FilterShape::HighPass1:
        p = { 0.0, 1.0, 0.0, 1.0, 1.0, 0.0 };
        break;
    }
    return p;
}

double AnalogPrototype::MagnitudeSquared(double omega) const
{
    const double nr = b0 - b2 * omega * omega;
    const double ni = b1 * omega;
    const double dr = a0 - a2 * omega * omega;
    const double di = a1 * omega;
    return (ni * ni + nr * nr) / (di * di + dr * dr);
}
