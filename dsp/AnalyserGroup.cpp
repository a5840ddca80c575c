// SPDX-License-Identifier: GPL-3.0-or-later
// Audio path (Process): allocation-free and lock-free.
#include "AnalyserGroup.h"

#include "Float4.h"

#include <cmath>

namespace
{
// All stages of one sample, then the envelope, sample by sample. Each lane computes exactly the
// stage-by-stage recurrence per sample, so running the stages fused (states in registers, no work
// buffer) gives the same values as running each stage over a chunk in turn:
//   A = (x - s2)*k + a2*s1;  y = (A*cA + cAPrev*s1) + cB*s2;  s2 = s2 + A*k;  s1 = A.
// Envelope: m = |y|, h = (m - env)*c + env, env = m < h ? h : m, held = max(held, env).
template <int N>
void Run(AnalyserStage* st, float* smoothing, float* envelope, float* heldPeak, const float* input,
         int count)
{
    Float4 s1[N > 0 ? N : 1], s2[N > 0 ? N : 1];
    for (int s = 0; s < N; ++s)
    {
        s1[s] = Float4::Load(st[s].s1);
        s2[s] = Float4::Load(st[s].s2);
    }
    const Float4 c = Float4::Load(smoothing);
    Float4 env = Float4::Load(envelope);
    Float4 held = Float4::Load(heldPeak);

    for (int i = 0; i < count; ++i)
    {
        Float4 y = Float4::Load(input + 4 * i);
        for (int s = 0; s < N; ++s)
        {
            const Float4 k = Float4::Load(st[s].k);
            const Float4 a = (y - s2[s]) * k + Float4::Load(st[s].a2) * s1[s];
            y = (a * Float4::Load(st[s].cA) + Float4::Load(st[s].cAPrev) * s1[s]) + Float4::Load(st[s].cB) * s2[s];
            s2[s] = s2[s] + a * k;
            s1[s] = a;
        }
        const Float4 m = Abs(y);
        const Float4 h = (m - env) * c + env;
        env = SelectLarger(m, h);
        held = Max(held, env);
    }

    for (int s = 0; s < N; ++s)
    {
        s1[s].Store(st[s].s1);
        s2[s].Store(st[s].s2);
    }
    env.Store(envelope);
    held.Store(heldPeak);
}

bool Usable(const BiquadCoefficients& c)
{
    return std::isfinite(c.b0) && std::isfinite(c.b1) && std::isfinite(c.b2) && std::isfinite(c.a1)
        && std::isfinite(c.a2) && c.a2 < 1.0 && 1.0 + c.a1 + c.a2 > 0.0;
}
} // namespace

void AnalyserGroup::SetBand(int lane, double f, double bw, double fs)
{
    const auto sections = DesignBandPass(f, bw, fs);
    smoothing[lane] = static_cast<float>(1.0 - std::exp(-1.0 / (0.3 * fs)));
    if (stages.size() != sections.size())
        stages.resize(sections.size());

    bool usable = f > 0.0 && bw > 0.0 && f < fs / 2.0;
    for (const auto& c : sections)
        usable = usable && Usable(c);
    for (size_t i = 0; i < sections.size(); ++i)
    {
        if (usable)
            stages[i].SetLane(lane, sections[i]);
        else
            stages[i].SilenceLane(lane);
    }
}

void AnalyserGroup::Process(const float* input, int count)
{
    if (stages.size() == kBandPassSections)
        Run<kBandPassSections>(stages.data(), smoothing, envelope, heldPeak, input, count);
    else if (stages.empty())
        Run<0>(stages.data(), smoothing, envelope, heldPeak, input, count);

    // A NaN or infinity in the input would stay in a lane's states, envelope and held peak for
    // good (and reach the display); such a lane starts again from zero.
    for (int lane = 0; lane < kLanes; ++lane)
    {
        float sum = envelope[lane] + heldPeak[lane];
        for (const auto& st : stages)
            sum += st.s1[lane] + st.s2[lane];
        if (std::isfinite(sum))
            continue;
        for (auto& st : stages)
            st.s1[lane] = st.s2[lane] = 0.0f;
        envelope[lane] = heldPeak[lane] = 0.0f;
    }
}

void AnalyserGroup::ResetLevels()
{
    for (auto& s : stages)
        s.ResetStates();
    for (int i = 0; i < kLanes; ++i)
    {
        envelope[i] = 0.0f;
        heldPeak[i] = 0.0f;
    }
}

void AnalyserGroup::ClearPeaks()
{
    for (int i = 0; i < kLanes; ++i)
        heldPeak[i] = 0.0f;
}
