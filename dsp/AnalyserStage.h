// SPDX-License-Identifier: GPL-3.0-or-later
// One band-pass section for all the analyser's bands, the bands side by side as lanes: the
// two-integrator form of FilterParams without the correction filter, plus each lane's state.
// Plain data apart from the out-of-line setters, so the vector kernels can read it.
#pragma once

struct BiquadCoefficients;

constexpr int kAnalyserLanes = 32;

struct AnalyserStage
{
    // Lane `lane` takes the section c: k = sqrt(1 + a1 + a2), a2, cA = b0/k, cAPrev = -b2/k,
    // cB = (b0 + b1 + b2)/k^2, computed in double, stored in single. States are not touched.
    void SetLane(int lane, const BiquadCoefficients& c);
    // Lane `lane` outputs zeros.
    void SilenceLane(int lane);
    void ResetStates();

    // A new stage passes its input through with zero states. Aligned for speed only: the
    // kernels load unaligned.
    alignas(32) float k[kAnalyserLanes];
    alignas(32) float a2[kAnalyserLanes];
    alignas(32) float cA[kAnalyserLanes];
    alignas(32) float cAPrev[kAnalyserLanes];
    alignas(32) float cB[kAnalyserLanes];
    alignas(32) float s1[kAnalyserLanes];
    alignas(32) float s2[kAnalyserLanes];

    AnalyserStage();
};
