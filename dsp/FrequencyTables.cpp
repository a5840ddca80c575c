// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrequencyTables.h"

#include <cmath>

namespace
{
constexpr double kPi = 3.14159265358979323846;
}

void FillLogFrequencies(float* out, float fmin, float fmax, int count)
{
    if (count == 1)
    {
        out[0] = fmin;
        return;
    }
    const float span = std::log(fmax / fmin);
    const float last = static_cast<float>(count - 1);
    for (int i = 0; i < count; ++i)
        out[i] = fmin * std::exp(static_cast<float>(i) * span / last);
}

void FillPhi(float* out, const float* freqs, double sampleRate, int count)
{
    for (int i = 0; i < count; ++i)
    {
        const float s = std::sin(static_cast<float>(kPi * static_cast<double>(freqs[i]) / sampleRate));
        out[i] = s * s;
    }
}
