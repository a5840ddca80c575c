// SPDX-License-Identifier: GPL-3.0-or-later
// One equaliser band: a section record shared by both channels and one state per channel.
// Its processing is allocation-free and lock-free.
#pragma once

#include "ProcessSection.h"

struct BandSection
{
    static constexpr int kChannels = 2;

    // Channel 0 with states[0], then channel 1 (when buf1 is not null) with states[1], in place.
    // Audio thread, allocation-free.
    void Process(float* buf0, float* buf1, int n)
    {
        if (buf1 == nullptr || buf1 == buf0)
        {
            ProcessSection(states[0], params, buf0, buf0, n);
            if (buf1 != nullptr)
                ProcessSection(states[1], params, buf1, buf1, n);
            return;
        }
        ProcessSectionStereo(states[0], states[1], params, buf0, buf1, n);
    }

    // Band a and then band b over both channels, in place: the same samples as a.Process followed
    // by b.Process, with the two sections interleaved (faster when both bands run).
    static void ProcessPair(BandSection& a, BandSection& b, float* buf0, float* buf1, int n)
    {
        if (buf1 == nullptr || buf1 == buf0)
        {
            a.Process(buf0, buf1, n);
            b.Process(buf0, buf1, n);
            return;
        }
        ProcessSectionPairStereo(a.params, a.states[0], a.states[1], b.params, b.states[0], b.states[1], buf0, buf1, n);
    }

    FilterStage::MZTiBiquadParams params;
    SectionState states[kChannels];
};
