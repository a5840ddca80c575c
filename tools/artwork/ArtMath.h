// SPDX-License-Identifier: GPL-3.0-or-later
// Arithmetic for the artwork generator. The committed PNG files must come out byte for byte
// the same from every build (optimised, sanitised, another libm), so the drawing code uses
// only IEEE-exact operations (+ - * /, sqrt, floor): the trigonometry below is ours, not libm's.
#pragma once

#include <cmath>

namespace art {

constexpr double kPi = 3.14159265358979323846;

inline double Clamp(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }
inline double Clamp01(double v) { return Clamp(v, 0.0, 1.0); }
inline double Mix(double a, double b, double t) { return a + (b - a) * t; }

// 0 below e0, 1 above e1, a cubic between.
inline double SmoothStep(double e0, double e1, double x)
{
    const double t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}

// Pixel snapping: halves go down, so a middle bar sits above the centre of an odd height.
inline double Snap(double v) { return std::floor(v + 0.49); }

// sin and cos by Taylor series on |x| <= pi/4 after reduction by quarter turns.
inline double SinSmall(double x)
{
    const double x2 = x * x;
    return x * (1.0 - x2 / 6.0 * (1.0 - x2 / 20.0 * (1.0 - x2 / 42.0 * (1.0 - x2 / 72.0 * (1.0 - x2 / 110.0)))));
}
inline double CosSmall(double x)
{
    const double x2 = x * x;
    return 1.0 - x2 / 2.0 * (1.0 - x2 / 12.0 * (1.0 - x2 / 30.0 * (1.0 - x2 / 56.0 * (1.0 - x2 / 90.0))));
}
inline void SinCos(double a, double& s, double& c)
{
    const double q = std::floor(a / (kPi / 2.0) + 0.5);
    const double r = a - q * (kPi / 2.0);
    const double sr = SinSmall(r), cr = CosSmall(r);
    int k = (int) (q - 4.0 * std::floor(q / 4.0));
    switch (k) {
    case 0: s = sr; c = cr; break;
    case 1: s = cr; c = -sr; break;
    case 2: s = -sr; c = -cr; break;
    default: s = -cr; c = sr; break;
    }
}

// atan on [0, 1] by the series of atan((x - t) / (1 + x t)) around t = tan(pi/8) halving the range.
inline double AtanUnit(double x)
{
    // Reduce to |y| <= tan(pi/8) with atan(x) = pi/4 + atan((x - 1) / (x + 1)) above tan(pi/8).
    double base = 0.0;
    if (x > 0.41421356237309503) {
        base = kPi / 4.0;
        x = (x - 1.0) / (x + 1.0);
    }
    const double x2 = x * x;
    double sum = 0.0;
    for (int n = 23; n >= 1; n -= 2)
        sum = 1.0 / n - x2 * sum;
    return base + x * sum;
}

// The angle of (x, y) in radians, -pi..pi, as std::atan2.
inline double Atan2(double y, double x)
{
    const double ax = std::fabs(x), ay = std::fabs(y);
    if (ax == 0.0 && ay == 0.0)
        return 0.0;
    double a = ay <= ax ? AtanUnit(ay / ax) : kPi / 2.0 - AtanUnit(ax / ay);
    if (x < 0.0)
        a = kPi - a;
    return y < 0.0 ? -a : a;
}

inline double Radians(double degrees) { return degrees * (kPi / 180.0); }

} // namespace art
