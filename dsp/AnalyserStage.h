// SPDX-License-Identifier: GPL-3.0-or-later
// One band-pass section for the four bands of an analyser group, the lanes side by side: the
// two-integrator form of FilterParams without the correction filter, plus each lane's state.
#pragma once

#include "DesignBandPass.h"

struct AnalyserStage
{
    // Lane `lane` takes the section c: k = sqrt(1 + a1 + a2), a2, cA = b0/k, cAPrev = -b2/k,
    // cB = (b0 + b1 + b2)/k^2, computed in double, stored in single. States are not touched.
    void SetLane(int lane, const BiquadCoefficients& c);
    // Lane `lane` outputs zeros.
    void SilenceLane(int lane);
    void ResetStates();

    // A new stage passes its input through with zero states.
    alignas(16) float k[4] = { 1.0f, 1.0f, 1.0f, 1.0f };
    alignas(16) float a2[4] = {};
    alignas(16) float cA[4] = { 1.0f, 1.0f, 1.0f, 1.0f };
    alignas(16) float cAPrev[4] = {};
    alignas(16) float cB[4] = { 1.0f, 1.0f, 1.0f, 1.0f };
    alignas(16) float s1[4] = {};
    alignas(16) float s2[4] = {};
};
