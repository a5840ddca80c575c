// SPDX-License-Identifier: GPL-3.0-or-later
// One equaliser band: a section record shared by both channels and one state per channel.
// Its processing is allocation-free and lock-free.
#pragma once

#include "ProcessSection.h"
#include "SectionCascade.h"

struct BandSection
{
    static constexpr int kChannels = 2;

    // Appends the band to a cascade.
    void AddTo(SectionCascade& cascade) { cascade.Add(params, states[0], states[1]); }

    // Channel 0 with states[0], then channel 1 (when buf1 is not null) with states[1], in place.
    // Audio thread, allocation-free.
    void Process(float* buf0, float* buf1, int n)
    {
        SectionCascade one;
        AddTo(one);
        one.Process(buf0, buf1, n);
    }

    // Band a and then band b over both channels, in place: the same samples as a.Process followed
    // by b.Process.
    static void ProcessPair(BandSection& a, BandSection& b, float* buf0, float* buf1, int n)
    {
        SectionCascade two;
        a.AddTo(two);
        b.AddTo(two);
        two.Process(buf0, buf1, n);
    }

    FilterStage::MZTiBiquadParams params;
    SectionState states[kChannels];
};
