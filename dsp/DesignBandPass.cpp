// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesignBandPass.h"

#include <cmath>
#include <complex>

namespace
{
using Complex = std::complex<double>;

constexpr double kPi = 3.14159265358979323846;
constexpr double kMinEdge = 1e-8;
constexpr double kMaxEdge = 3.1415894702800524;

BiquadCoefficients Section(Complex pole, double zero)
{
    BiquadCoefficients c;
    c.b0 = 1.0;
    c.b1 = -2.0 * zero;
    c.b2 = zero * zero;
    c.a1 = -2.0 * pole.real();
    c.a2 = std::norm(pole);
    return c;
}

Complex Response(const BiquadCoefficients& c, double w)
{
    const Complex z1 = std::polar(1.0, -w);
    const Complex z2 = z1 * z1;
    return (c.b0 + c.b1 * z1 + c.b2 * z2) / (1.0 + c.a1 * z1 + c.a2 * z2);
}
} // namespace

std::array<BiquadCoefficients, kBandPassSections> DesignBandPass(double f, double bw, double fs)
{
    // Edges in radians per sample, geometric around the centre: wlo*whi = w^2, whi - wlo = ww.
    const double w = 2.0 * kPi * f / fs;
    const double ww = 2.0 * kPi * bw / fs;
    double wlo = (std::sqrt(4.0 * w * w + ww * ww) - ww) / 2.0;
    double whi = wlo + ww;
    if (wlo < kMinEdge)
        wlo = kMinEdge;
    if (whi > kMaxEdge)
        whi = kMaxEdge;

    const double a = std::cos((whi + wlo) / 2.0) / std::cos((whi - wlo) / 2.0);
    const double b = 1.0 / std::tan((whi - wlo) / 2.0);
    const double bb = b * b * (a * a - 1.0);

    // Fourth-order Butterworth low-pass: one pole of each conjugate pair on the unit circle.
    const double angles[2] = { kPi / 2.0 + kPi / 8.0, kPi / 2.0 + 3.0 * kPi / 8.0 };
    std::array<BiquadCoefficients, kBandPassSections> sections;
    for (int p = 0; p < 2; ++p)
    {
        const Complex c = std::polar(1.0, angles[p]);
        const Complex cz = (1.0 + c) / (1.0 - c);
        const Complex v = std::sqrt((4.0 * (bb + 1.0) * cz + 8.0 * (bb - 1.0)) * cz + 4.0 * (bb + 1.0));
        const Complex u = -v + 2.0 * a * b * cz + 2.0 * a * b;
        const Complex vp = v + 2.0 * a * b * cz + 2.0 * a * b;
        const Complex d = 2.0 * (b - 1.0) * cz + 2.0 * (1.0 + b);
        sections[2 * p] = Section(u / d, -1.0);
        sections[2 * p + 1] = Section(vp / d, 1.0);
    }

    const double wn = 2.0 * std::atan(std::sqrt(std::tan(wlo / 2.0) * std::tan(whi / 2.0)));
    const double gain = 1.0 / std::sqrt(CascadeMagnitudeSquared(sections.data(), kBandPassSections, wn));
    sections[0].b0 *= gain;
    sections[0].b1 *= gain;
    sections[0].b2 *= gain;
    return sections;
}

double CascadeMagnitudeSquared(const BiquadCoefficients* sections, int count, double w)
{
    Complex h = 1.0;
    for (int i = 0; i < count; ++i)
        h *= Response(sections[i], w);
    return std::norm(h);
}
