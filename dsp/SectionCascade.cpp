// SPDX-License-Identifier: GPL-3.0-or-later
// Audio path: allocation-free and lock-free.
#include "SectionCascade.h"

#include "ProcessSection.h"
#include "SimdKernels.h"

#include <cmath>

static_assert(SectionCascade::kMaxSections <= CascadeLanes::kMaxSections, "the kernels hold every section");

bool SectionCascade::Add(const FilterStage::MZTiBiquadParams& params, SectionState& state0, SectionState& state1)
{
    if (count == kMaxSections)
        return false;
    entries[count++] = { &params, { &state0, &state1 } };
    return true;
}

void SectionCascade::Process(float* buf0, float* buf1, int n, SimdLevel level) const
{
    if (!SimdLevelAvailable(level))
        level = BestSimdLevel();
    if (buf1 == nullptr || buf1 == buf0)
    {
        ProcessChannels(buf0, nullptr, 1, 0, n, level);
        if (buf1 != nullptr)
            ProcessChannels(buf1, nullptr, 1, 1, n, level);
        return;
    }
    ProcessChannels(buf0, buf1, 2, 0, n, level);
}

// One channel (buf0 with the states of channel firstState) or two (buf0 and buf1 with the
// states of channels 0 and 1).
void SectionCascade::ProcessChannels(float* buf0, float* buf1, int channels, int firstState, int n,
                                     SimdLevel level) const
{
#ifdef PARVEL_X86_KERNELS
    if (level != SimdLevel::Portable && count > 0)
    {
        CascadeLanes lanes;
        lanes.sections = count;
        lanes.channels = channels;
        const int used = count * channels;
        for (int i = 0, lane = 0; i < count; ++i)
        {
            const FilterStage::MZTiBiquadParams& p = *entries[i].params;
            const float k = p.k.Load(), a2 = p.a2.Load(), cA = p.cA.Load(), cAPrev = p.cAPrev.Load(),
                        cB = p.cB.Load(), fir0 = p.fir0.Load(), fir1 = p.fir1.Load(), fir2 = p.fir2.Load();
            for (int c = 0; c < channels; ++c, ++lane)
            {
                const SectionState& s = *entries[i].state[firstState + c];
                lanes.k[lane] = k;
                lanes.a2[lane] = a2;
                lanes.cA[lane] = cA;
                lanes.cAPrev[lane] = cAPrev;
                lanes.cB[lane] = cB;
                lanes.fir0[lane] = fir0;
                lanes.fir1[lane] = fir1;
                lanes.fir2[lane] = fir2;
                lanes.s1[lane] = s.s1;
                lanes.s2[lane] = s.s2;
                lanes.h1[lane] = s.h1;
                lanes.h2[lane] = s.h2;
            }
        }
        for (int lane = used; lane < CascadeLanes::kMaxLanes; ++lane)
        {
            lanes.k[lane] = lanes.a2[lane] = lanes.cA[lane] = lanes.cAPrev[lane] = lanes.cB[lane] = 0.0f;
            lanes.fir0[lane] = lanes.fir1[lane] = lanes.fir2[lane] = 0.0f;
            lanes.s1[lane] = lanes.s2[lane] = lanes.h1[lane] = lanes.h2[lane] = 0.0f;
        }

        if (level == SimdLevel::Avx2)
            RunCascadeAvx2(lanes, buf0, buf1, n);
        else
            RunCascadeSse2(lanes, buf0, buf1, n);

        // As ProcessSection does at the end of a call: a state that a non-finite input made
        // non-finite restarts from zero.
        for (int i = 0, lane = 0; i < count; ++i)
        {
            for (int c = 0; c < channels; ++c, ++lane)
            {
                SectionState s { lanes.s1[lane], lanes.s2[lane], lanes.h1[lane], lanes.h2[lane] };
                if (!std::isfinite(s.s1 + s.s2 + s.h1 + s.h2))
                    s = {};
                *entries[i].state[firstState + c] = s;
            }
        }
        return;
    }
#endif
    (void) level;
    for (int c = 0; c < channels; ++c)
    {
        float* buf = c == 0 ? buf0 : buf1;
        for (int i = 0; i < count; ++i)
            ProcessSection(*entries[i].state[firstState + c], *entries[i].params, buf, buf, n);
    }
}
