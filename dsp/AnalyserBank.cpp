// SPDX-License-Identifier: GPL-3.0-or-later
// Audio path (Process): allocation-free and lock-free.
#include "AnalyserBank.h"

#include "DesignBandPass.h"
#include "SimdKernels.h"

#include <cmath>

static_assert(kAnalyserStages == kBandPassSections, "one stage per band-pass section");

namespace
{
bool Usable(const BiquadCoefficients& c)
{
    return std::isfinite(c.b0) && std::isfinite(c.b1) && std::isfinite(c.b2) && std::isfinite(c.a1)
        && std::isfinite(c.a2) && c.a2 < 1.0 && 1.0 + c.a1 + c.a2 > 0.0;
}

// The plain loops, lane by lane and sample by sample, that the vector kernels reproduce:
//   A = (x - s2)*k + a2*s1;  y = (A*cA + cAPrev*s1) + cB*s2;  s2 = s2 + A*k;  s1 = A
// for the four stages in turn, then the envelope m = |y|, h = (m - env)*c + env,
// env = m < h ? h : m, held = held > env ? held : env. A lane that ends non-finite restarts from
// zero.
void RunPortable(AnalyserBank& bank, const float* input, int count)
{
    for (int lane = 0; lane < AnalyserBank::kLanes; ++lane)
    {
        const float c = bank.smoothing[lane];
        float env = bank.envelope[lane], held = bank.heldPeak[lane];
        for (int i = 0; i < count; ++i)
        {
            float y = input[i];
            for (auto& st : bank.stages)
            {
                const float s1 = st.s1[lane], s2 = st.s2[lane];
                const float a = (y - s2) * st.k[lane] + st.a2[lane] * s1;
                y = (a * st.cA[lane] + st.cAPrev[lane] * s1) + st.cB[lane] * s2;
                st.s2[lane] = s2 + a * st.k[lane];
                st.s1[lane] = a;
            }
            const float m = std::fabs(y);
            const float h = (m - env) * c + env;
            env = m < h ? h : m;
            held = held > env ? held : env;
        }
        float sum = env + held;
        for (const auto& st : bank.stages)
            sum += st.s1[lane] + st.s2[lane];
        if (!std::isfinite(sum))
        {
            for (auto& st : bank.stages)
                st.s1[lane] = st.s2[lane] = 0.0f;
            env = held = 0.0f;
        }
        bank.envelope[lane] = env;
        bank.heldPeak[lane] = held;
    }
}
} // namespace

AnalyserBank::AnalyserBank()
{
    for (int lane = 0; lane < kLanes; ++lane)
    {
        smoothing[lane] = 0.1f;
        envelope[lane] = 0.0f;
        heldPeak[lane] = 0.0f;
    }
}

void AnalyserBank::SetBand(int lane, double f, double bw, double fs)
{
    const auto sections = DesignBandPass(f, bw, fs);
    smoothing[lane] = static_cast<float>(1.0 - std::exp(-1.0 / (0.3 * fs)));

    bool usable = f > 0.0 && bw > 0.0 && f < fs / 2.0;
    for (const auto& c : sections)
        usable = usable && Usable(c);
    for (int i = 0; i < kAnalyserStages; ++i)
    {
        if (usable)
            stages[i].SetLane(lane, sections[i]);
        else
            stages[i].SilenceLane(lane);
    }
}

void AnalyserBank::Process(const float* input, int count, SimdLevel level)
{
    if (count <= 0)
        return;
    switch (level)
    {
#ifdef PARVEL_X86_KERNELS
    case SimdLevel::Avx2:
        RunAnalyserAvx2(*this, input, count);
        return;
    case SimdLevel::Sse2:
        RunAnalyserSse2(*this, input, count);
        return;
#endif
    default:
        RunPortable(*this, input, count);
        return;
    }
}

void AnalyserBank::ResetLevels()
{
    for (auto& s : stages)
        s.ResetStates();
    for (int i = 0; i < kLanes; ++i)
    {
        envelope[i] = 0.0f;
        heldPeak[i] = 0.0f;
    }
}

void AnalyserBank::ClearPeaks()
{
    for (int i = 0; i < kLanes; ++i)
        heldPeak[i] = 0.0f;
}
