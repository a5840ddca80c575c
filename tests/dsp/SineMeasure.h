// SPDX-License-Identifier: GPL-3.0-or-later
// Gain measurement by running a steady sine through a processor, to check the analytic magnitudes
// against the audio path.
#pragma once

#include <cmath>
#include <vector>

#include "FrequencyTables.h"
#include "MZTiBiquadParams.h"

namespace dsptest
{
constexpr double kPi = 3.14159265358979323846;

inline double ToDb(double power)
{
    return 10.0 * std::log10(power);
}

// Gain in dB of process (callable (float* buffer, int n), in place) for a unit sine at f: one
// second to settle, then the amplitude from the correlation with sine and cosine over a whole
// number of periods.
template <typename Process>
double MeasureSineDb(Process&& process, double f, double fs)
{
    constexpr int kBlock = 128;
    const int settle = static_cast<int>(fs);
    const double cycles = std::floor(f * 1.0);
    const int window = static_cast<int>(std::lround(std::fmax(cycles, 1.0) * fs / f));
    const double w = 2.0 * kPi * f / fs;
    double sumSin = 0.0, sumCos = 0.0;
    float buffer[kBlock];
    long n = 0;
    const long total = settle + window;
    while (n < total)
    {
        const int count = static_cast<int>(std::fmin(kBlock, total - n));
        for (int i = 0; i < count; ++i)
            buffer[i] = static_cast<float>(std::sin(w * static_cast<double>(n + i)));
        process(buffer, count);
        for (int i = 0; i < count; ++i)
        {
            const long t = n + i;
            if (t >= settle)
            {
                sumSin += buffer[i] * std::sin(w * static_cast<double>(t));
                sumCos += buffer[i] * std::cos(w * static_cast<double>(t));
            }
        }
        n += count;
    }
    const double a = 2.0 * sumSin / window, b = 2.0 * sumCos / window;
    return ToDb(a * a + b * b);
}

// 10*log10 |H|^2 of a section at f, through MultiplyMagnitudeSquared.
inline double SectionDb(const FilterStage::MZTiBiquadParams& p, float f, double fs)
{
    float phi = 0.0f;
    FillPhi(&phi, &f, fs, 1);
    float out = 0.0f;
    p.MultiplyMagnitudeSquared(&out, &phi, 1, true);
    return ToDb(out);
}
} // namespace dsptest
