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
