// SPDX-License-Identifier: GPL-3.0-or-later
// Four analyser bands as the four lanes of 4-wide vectors: each a cascade of four band-pass
// stages followed by a peak envelope (instant attack, exponential release) and a held peak.
#pragma once

#include "AnalyserStage.h"

#include <vector>

class AnalyserGroup
{
public:
    static constexpr int kLanes = 4;

    // Designs lane `lane` as the band-pass at f with bandwidth bw (Hz) at fs and sets its release
    // coefficient for 0.3 s. Allocates when the stage count changes; states are kept.
    // A band that cannot exist at fs (centre at or above Nyquist, no bandwidth left) or whose
    // design is not finite and stable is silenced: its level stays 0 instead of turning into
    // garbage or a NaN that the envelope and held peak would keep for good.
    void SetBand(int lane, double f, double bw, double fs);

    // Runs count samples of input, four floats per sample (one per lane, 16-byte aligned),
    // through every lane and its envelope. Audio thread, allocation-free. A lane that a
    // non-finite input made non-finite restarts from zero.
    void Process(const float* input, int count);

    void ResetLevels();
    void ClearPeaks();

    std::vector<AnalyserStage> stages;
    alignas(16) float smoothing[kLanes] = { 0.1f, 0.1f, 0.1f, 0.1f };
    alignas(16) float envelope[kLanes] = {};
    alignas(16) float heldPeak[kLanes] = {};
};
