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
        const auto stateOf = [&](int lane) -> SectionState& {
            return *entries[lane / channels].state[firstState + lane % channels];
        };
        CascadeLanes lanes;
        lanes.sections = count;
        lanes.channels = channels;
        const int used = count * channels;
        for (int lane = 0; lane < CascadeLanes::kMaxLanes; ++lane)
        {
            if (lane >= used)
            {
                lanes.k[lane] = lanes.a2[lane] = lanes.cA[lane] = lanes.cAPrev[lane] = lanes.cB[lane] = 0.0f;
                lanes.fir0[lane] = lanes.fir1[lane] = lanes.fir2[lane] = 0.0f;
                lanes.s1[lane] = lanes.s2[lane] = lanes.h1[lane] = lanes.h2[lane] = 0.0f;
                continue;
            }
            const FilterStage::MZTiBiquadParams& p = *entries[lane / channels].params;
            const SectionState& s = stateOf(lane);
            lanes.k[lane] = p.k.Load();
            lanes.a2[lane] = p.a2.Load();
            lanes.cA[lane] = p.cA.Load();
            lanes.cAPrev[lane] = p.cAPrev.Load();
            lanes.cB[lane] = p.cB.Load();
            lanes.fir0[lane] = p.fir0.Load();
            lanes.fir1[lane] = p.fir1.Load();
            lanes.fir2[lane] = p.fir2.Load();
            lanes.s1[lane] = s.s1;
            lanes.s2[lane] = s.s2;
            lanes.h1[lane] = s.h1;
            lanes.h2[lane] = s.h2;
        }

        if (level == SimdLevel::Avx2)
            RunCascadeAvx2(lanes, buf0, buf1, n);
        else
            RunCascadeSse2(lanes, buf0, buf1, n);

        // As ProcessSection does at the end of a call: a state that a non-finite input made
        // non-finite restarts from zero.
        for (int lane = 0; lane < used; ++lane)
        {
            SectionState s { lanes.s1[lane], lanes.s2[lane], lanes.h1[lane], lanes.h2[lane] };
            if (!std::isfinite(s.s1 + s.s2 + s.h1 + s.h2))
                s = {};
            stateOf(lane) = s;
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
