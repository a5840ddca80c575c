// SPDX-License-Identifier: GPL-3.0-or-later
// A cascade of sections as the vector kernels see it: one lane per section and channel, lane =
// section * channels + channel, every field a plain float array. Lanes past the last section
// are zero. Plain data only, so that the kernels' translation units (compiled per instruction
// set) share no inline code with the rest of the program.
#pragma once

struct CascadeLanes
{
    static constexpr int kMaxSections = 12;
    // Two channels of twelve sections; a multiple of every vector width.
    static constexpr int kMaxLanes = 2 * kMaxSections;

    int sections = 0;
    int channels = 0;
    // Coefficients (see FilterParams and MZTiBiquadParams).
    float k[kMaxLanes];
    float a2[kMaxLanes];
    float cA[kMaxLanes];
    float cAPrev[kMaxLanes];
    float cB[kMaxLanes];
    float fir0[kMaxLanes];
    float fir1[kMaxLanes];
    float fir2[kMaxLanes];
    // State (see SectionState), read before and written back after a run.
    float s1[kMaxLanes];
    float s2[kMaxLanes];
    float h1[kMaxLanes];
    float h2[kMaxLanes];
};
