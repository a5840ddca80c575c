// SPDX-License-Identifier: GPL-3.0-or-later
// A Butterworth cut filter of order N = 1 ... 8 (6 to 48 dB per octave): (N + 1)/2 sections at the
// cutoff, the second-order ones highest Q first, for odd N a first-order section last. Sections
// beyond the active count keep their coefficients and states untouched.
#pragma once

#include "MZTiBiquadParams.h"
#include "SectionCascade.h"
#include "SectionState.h"

enum class CutKind : int
{
    LowPass = 0,
    HighPass = 1,
};

class CutFilterChain
{
public:
    static constexpr int kMaxSections = 4;
    static constexpr int kMaxOrder = 2 * kMaxSections;
    static constexpr int kChannels = 2;

    // Designs the sections for order N (clamped to 1 ... kMaxOrder, so no order can reach past the
    // four sections) and stores order, freq, kind and sample rate in the chain's cache. freq and
    // sampleRate are rounded to single first. Each section's own cache decides whether it is
    // really redesigned.
    void DesignButterworth(int order, double freq, CutKind kind, double sampleRate);

    // The per-block update: designs only when order, freq, kind or sample rate differ from the
    // cache. Returns true when it designed.
    bool Update(int order, float freq, CutKind kind, float sampleRate);

    // (order + 1)/2, the sections that run and that the magnitude covers; 0 before any design.
    int ActiveSections() const;

    // Runs the active sections in place over n floats of channel 0, then of channel 1 when buf1 is
    // not null, each channel with its own states. Audio thread, allocation-free.
    void Process(float* buf0, float* buf1, int n);
    // Appends the active sections, in order, to a cascade.
    void AddTo(SectionCascade& cascade);

    // out[i] = |H|^2 of the active sections at phi[i] (see MZTiBiquadParams); 1 before any design.
    void MultiplyMagnitudeSquared(float* out, const float* phi, int count) const;

    FilterStage::MZTiBiquadParams sections[kMaxSections];
    // Design cache, read by the display without the lock.
    Relaxed<int> order = 0;
    Relaxed<float> freq = 0.0f;
    Relaxed<float> sampleRate = 0.0f;
    Relaxed<CutKind> kind = CutKind::LowPass;
    SectionState states[kChannels][kMaxSections];
};
