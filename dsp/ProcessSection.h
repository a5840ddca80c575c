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
