// SPDX-License-Identifier: GPL-3.0-or-later
// The analyser's bands as the lanes of its stages: each band a cascade of four band-pass stages
// followed by a peak envelope (instant attack, exponential release) and a held peak. Plain data
// apart from the out-of-line operations, so the vector kernels can read it.
#pragma once

#include "AnalyserStage.h"
#include "SimdLevel.h"

constexpr int kAnalyserStages = 4;

class AnalyserBank
{
public:
    static constexpr int kLanes = kAnalyserLanes;

    // Designs lane `lane` as the band-pass at f with bandwidth bw (Hz) at fs and sets its release
    // coefficient for 0.3 s. States are kept.
    // A band that cannot exist at fs (centre at or above Nyquist, no bandwidth left) or whose
    // design is not finite and stable is silenced: its level stays 0 instead of turning into
    // garbage or a NaN that the envelope and held peak would keep for good.
    void SetBand(int lane, double f, double bw, double fs);

    // Runs count samples of mono input through every lane and its envelope, with the kernel of
    // the given level (every level gives the same values). Audio thread, allocation-free. A lane
    // that a non-finite input made non-finite restarts from zero.
    void Process(const float* input, int count, SimdLevel level);

    void ResetLevels();
    void ClearPeaks();

    AnalyserStage stages[kAnalyserStages];
    alignas(32) float smoothing[kLanes];
    alignas(32) float envelope[kLanes];
    alignas(32) float heldPeak[kLanes];

    AnalyserBank();
};
