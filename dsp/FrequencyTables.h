// SPDX-License-Identifier: GPL-3.0-or-later
// Frequency grids for evaluating section magnitudes (the display's curves, the tests).
#pragma once

// out[i] = fmin * exp(i * ln(fmax/fmin) / (count - 1)) in single precision, i < count: fmin first,
// fmax last. A single entry is fmin.
void FillLogFrequencies(float* out, float fmin, float fmax, int count);

// out[i] = sin^2(pi * freqs[i] / sampleRate), the variable that MultiplyMagnitudeSquared takes;
// the quotient is formed in double and rounded to single before the sine.
void FillPhi(float* out, const float* freqs, double sampleRate, int count);
