// SPDX-License-Identifier: GPL-3.0-or-later
// Running one designed section over one or two channels of audio. Allocation-free and lock-free.
#pragma once

#include "MZTiBiquadParams.h"
#include "SectionState.h"

// Filters count floats from in to out with that channel's state; out may equal in. Audio thread,
// allocation-free. A redesign between calls takes effect at the next sample; the state carries on.
// A state that a non-finite input made non-finite is zeroed at the end of the call, so the section
// recovers with the next clean block.
void ProcessSection(SectionState& state, const FilterStage::MZTiBiquadParams& params, float* out,
                    const float* in, int count);

// Both channels of one section at once: the same samples as ProcessSection over buf0 with state0
// and then over buf1 with state1, in place; buf0 and buf1 must be distinct. The two recurrences
// are independent, so running them side by side lets the processor overlap their latencies.
void ProcessSectionStereo(SectionState& state0, SectionState& state1, const FilterStage::MZTiBiquadParams& params,
                          float* buf0, float* buf1, int count);

// Two sections in cascade over both channels: the same samples as running `first` and then
// `second` over each channel (states first0/second0 for buf0, first1/second1 for buf1), in place.
// buf0 and buf1 must be distinct.
void ProcessSectionPairStereo(const FilterStage::MZTiBiquadParams& first, SectionState& first0, SectionState& first1,
                              const FilterStage::MZTiBiquadParams& second, SectionState& second0,
                              SectionState& second1, float* buf0, float* buf1, int count);
