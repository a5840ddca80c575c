// SPDX-License-Identifier: GPL-3.0-or-later
// Sections run one after the other over one or two channels, each channel with its own state:
// the cut filters and the bands of the audio path. The list holds references only; build it on
// the stack before processing. Processing is allocation-free and lock-free.
#pragma once

#include "MZTiBiquadParams.h"
#include "SectionState.h"
#include "SimdLevel.h"

class SectionCascade
{
public:
    // The audio path's sections: two cut filters of four sections and four bands.
    static constexpr int kMaxSections = 12;

    // Appends a section with its channel-0 and channel-1 state. Beyond kMaxSections the section
    // is dropped and false returned.
    bool Add(const FilterStage::MZTiBiquadParams& params, SectionState& state0, SectionState& state1);
    int Count() const { return count; }

    // The same samples and states as ProcessSection of every section in turn over buf0 with the
    // channel-0 states and then, when buf1 is not null, over buf1 with the channel-1 states; in
    // place. buf1 may equal buf0 (then the channel-1 pass runs over channel 0's output). The
    // level only chooses the kernel (one the processor has; see SimdLevelAvailable).
    // Audio thread, allocation-free.
    void Process(float* buf0, float* buf1, int n, SimdLevel level = BestSimdLevel()) const;

private:
    struct Entry
    {
        const FilterStage::MZTiBiquadParams* params;
        SectionState* state[2];
    };
    void ProcessChannels(float* buf0, float* buf1, int channels, int firstState, int n, SimdLevel level) const;

    Entry entries[kMaxSections] = {};
    int count = 0;
};
