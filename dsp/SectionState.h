// SPDX-License-Identifier: GPL-3.0-or-later
// Per-channel memory of one filter section: the two integrator states of the pole-zero part and
// its last two outputs, which the correction FIR reads. Touched by the audio thread only.
#pragma once

struct SectionState
{
    float s1 = 0.0f;
    float s2 = 0.0f;
    float h1 = 0.0f;
    float h2 = 0.0f;
};
