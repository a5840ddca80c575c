// SPDX-License-Identifier: GPL-3.0-or-later
// The analyser's band-pass: an eighth-order Butterworth band-pass by the bilinear low-pass to
// band-pass transform, as four biquads, in double precision.
#pragma once

#include <array>

// H(z) = (b0 + b1/z + b2/z^2) / (1 + a1/z + a2/z^2).
struct BiquadCoefficients
{
    double b0 = 1.0, b1 = 0.0, b2 = 0.0;
    double a1 = 0.0, a2 = 0.0;
};

constexpr int kBandPassSections = 4;

// Centre f and bandwidth bw in Hz. The edges lie geometrically around the centre (their product
// is the centre squared, their distance bw) and sit at -3.01 dB; the cascade has unity gain at the
// geometric centre of the prewarped edges.
std::array<BiquadCoefficients, kBandPassSections> DesignBandPass(double f, double bw, double fs);

// |H(e^(j*w))|^2 of a cascade of biquads, w in radians per sample.
double CascadeMagnitudeSquared(const BiquadCoefficients* sections, int count, double w);
