// SPDX-License-Identifier: GPL-3.0-or-later
// One equaliser band: a section record shared by both channels and one state per channel.
#pragma once

#include "MZTiBiquadParams.h"
#include "SectionState.h"

struct BandSection
{
    static constexpr int kChannels = 2;

    FilterStage::MZTiBiquadParams params;
    SectionState states[kChannels];
};
