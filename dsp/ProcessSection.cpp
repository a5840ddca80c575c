// SPDX-License-Identifier: GPL-3.0-or-later
// Audio path: allocation-free and lock-free.
#include "ProcessSection.h"

#include <cmath>

namespace
{
struct Coefficients
{
    float k, a2, cA, cAPrev, cB, fir0, fir1, fir2;
};

// One sample. Pole-zero part in two-integrator form, A = k*X*(1 - 1/z)/D, B = k^2*X/D,
// h = X*N/D, then the correction FIR y = C(z)*h. The order of operations is fixed so that every
// build computes the same samples.
inline float Step(const Coefficients& c, float& s1, float& s2, float& h1, float& h2, float x)
{
    const float a = (x - s2) * c.k + s1 * c.a2;
    const float b = c.k * a + s2;
    const float h = (s1 * c.cAPrev + a * c.cA) + s2 * c.cB;
    const float y = (c.fir1 * h1 + h * c.fir0) + c.fir2 * h2;
    s1 = a;
    s2 = b;
    h2 = h1;
    h1 = h;
    return y;
}

// A NaN or infinity that reached the state (a host sent one) would otherwise stay there for good
// and silence the channel; checked once per call, the state restarts from zero for the next call.
inline void Store(SectionState& state, float s1, float s2, float h1, float h2)
{
    if (!std::isfinite(s1 + s2 + h1 + h2))
        s1 = s2 = h1 = h2 = 0.0f;
    state = { s1, s2, h1, h2 };
}

Coefficients Load(const FilterStage::MZTiBiquadParams& p)
{
    return { p.k.Load(),  p.a2.Load(),   p.cA.Load(),   p.cAPrev.Load(),
             p.cB.Load(), p.fir0.Load(), p.fir1.Load(), p.fir2.Load() };
}
} // namespace

void ProcessSection(SectionState& state, const FilterStage::MZTiBiquadParams& params, float* out,
                    const float* in, int count)
{
    const Coefficients c = Load(params);
    float s1 = state.s1, s2 = state.s2, h1 = state.h1, h2 = state.h2;

    int i = 0;
    for (; i + 4 <= count; i += 4)
    {
        const float x0 = in[i], x1 = in[i + 1], x2 = in[i + 2], x3 = in[i + 3];
        out[i] = Step(c, s1, s2, h1, h2, x0);
        out[i + 1] = Step(c, s1, s2, h1, h2, x1);
        out[i + 2] = Step(c, s1, s2, h1, h2, x2);
        out[i + 3] = Step(c, s1, s2, h1, h2, x3);
    }
    for (; i < count; ++i)
        out[i] = Step(c, s1, s2, h1, h2, in[i]);

    Store(state, s1, s2, h1, h2);
}

void ProcessSectionStereo(SectionState& state0, SectionState& state1, const FilterStage::MZTiBiquadParams& params,
                          float* buf0, float* buf1, int count)
{
    const Coefficients c = Load(params);
    float l1 = state0.s1, l2 = state0.s2, lh1 = state0.h1, lh2 = state0.h2;
    float r1 = state1.s1, r2 = state1.s2, rh1 = state1.h1, rh2 = state1.h2;

    int i = 0;
    for (; i + 4 <= count; i += 4)
    {
        for (int j = i; j < i + 4; ++j)
        {
            const float x0 = buf0[j], x1 = buf1[j];
            buf0[j] = Step(c, l1, l2, lh1, lh2, x0);
            buf1[j] = Step(c, r1, r2, rh1, rh2, x1);
        }
    }
    for (; i < count; ++i)
    {
        const float x0 = buf0[i], x1 = buf1[i];
        buf0[i] = Step(c, l1, l2, lh1, lh2, x0);
        buf1[i] = Step(c, r1, r2, rh1, rh2, x1);
    }

    Store(state0, l1, l2, lh1, lh2);
    Store(state1, r1, r2, rh1, rh2);
}

void ProcessSectionPairStereo(const FilterStage::MZTiBiquadParams& first, SectionState& first0, SectionState& first1,
                              const FilterStage::MZTiBiquadParams& second, SectionState& second0,
                              SectionState& second1, float* buf0, float* buf1, int count)
{
    const Coefficients c = Load(first), d = Load(second);
    SectionState a0 = first0, a1 = first1, b0 = second0, b1 = second1;

    // Per frame: the first section on both channels, then the second on both. Four recurrences
    // whose latencies overlap; every value is computed as by four separate ProcessSection calls.
    const auto frame = [&](int j) {
        const float x0 = Step(c, a0.s1, a0.s2, a0.h1, a0.h2, buf0[j]);
        const float x1 = Step(c, a1.s1, a1.s2, a1.h1, a1.h2, buf1[j]);
        buf0[j] = Step(d, b0.s1, b0.s2, b0.h1, b0.h2, x0);
        buf1[j] = Step(d, b1.s1, b1.s2, b1.h1, b1.h2, x1);
    };
    int i = 0;
    for (; i + 4 <= count; i += 4)
    {
        frame(i);
        frame(i + 1);
        frame(i + 2);
        frame(i + 3);
    }
    for (; i < count; ++i)
        frame(i);

    Store(first0, a0.s1, a0.s2, a0.h1, a0.h2);
    Store(first1, a1.s1, a1.s2, a1.h1, a1.h2);
    Store(second0, b0.s1, b0.s2, b0.h1, b0.h2);
    Store(second1, b1.s1, b1.s2, b1.h1, b1.h2);
}
