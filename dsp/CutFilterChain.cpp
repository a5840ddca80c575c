// SPDX-License-Identifier: GPL-3.0-or-later
// Audio path (Process): allocation-free and lock-free.
#include "CutFilterChain.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kPi = 3.14159265358979323846;
}

void CutFilterChain::DesignButterworth(int n, double f, CutKind k, double fs)
{
    n = std::clamp(n, 1, kMaxOrder);
    const float ff = static_cast<float>(f);
    const float fsf = static_cast<float>(fs);
    order = n;
    freq = ff;
    sampleRate = fsf;
    kind = k;

    const bool high = k == CutKind::HighPass;
    // Butterworth pole pairs by angle, highest Q first: Q_i = -1 / (2 cos(pi (N + 1 + 2i) / 2N)).
    for (int i = 0; i < n / 2; ++i)
    {
        const float qi = static_cast<float>(-0.5 / std::cos(kPi * (n + 1 + 2 * i) / (2.0 * n)));
        sections[i].Update(ff, qi, 0.0f, high ? FilterShape::HighPass2 : FilterShape::LowPass2, fsf);
    }
    if (n % 2 != 0)
        sections[(n + 1) / 2 - 1].Update(ff, 0.0f, 0.0f, high ? FilterShape::HighPass1 : FilterShape::LowPass1, fsf);
}

bool CutFilterChain::Update(int n, float f, CutKind k, float fs)
{
    if (std::clamp(n, 1, kMaxOrder) == order.Load() && f == freq.Load() && fs == sampleRate.Load()
        && k == kind.Load())
        return false;
    DesignButterworth(n, f, k, fs);
    return true;
}

int CutFilterChain::ActiveSections() const
{
    return (order.Load() + 1) / 2;
}

void CutFilterChain::Process(float* buf0, float* buf1, int n)
{
    SectionCascade cascade;
    AddTo(cascade);
    cascade.Process(buf0, buf1, n);
}

void CutFilterChain::AddTo(SectionCascade& cascade)
{
    const int active = ActiveSections();
    for (int i = 0; i < active; ++i)
        cascade.Add(sections[i], states[0][i], states[1][i]);
}

void CutFilterChain::MultiplyMagnitudeSquared(float* out, const float* phi, int count) const
{
    const int active = ActiveSections();
    if (active == 0)
    {
        for (int i = 0; i < count; ++i)
            out[i] = 1.0f;
        return;
    }
    for (int i = 0; i < active; ++i)
        sections[i].MultiplyMagnitudeSquared(out, phi, count, i == 0);
}
