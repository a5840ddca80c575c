// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnalyserStage.h"

#include "DesignBandPass.h"

#include <cmath>

AnalyserStage::AnalyserStage()
{
    for (int lane = 0; lane < kAnalyserLanes; ++lane)
    {
        k[lane] = 1.0f;
        a2[lane] = 0.0f;
        cA[lane] = 1.0f;
        cAPrev[lane] = 0.0f;
        cB[lane] = 1.0f;
    }
    ResetStates();
}

void AnalyserStage::SetLane(int lane, const BiquadCoefficients& c)
{
    const double kd = std::sqrt(1.0 + c.a1 + c.a2);
    k[lane] = static_cast<float>(kd);
    a2[lane] = static_cast<float>(c.a2);
    cA[lane] = static_cast<float>(c.b0 / kd);
    cAPrev[lane] = static_cast<float>(-c.b2 / kd);
    cB[lane] = static_cast<float>((c.b0 + c.b1 + c.b2) / (kd * kd));
}

void AnalyserStage::SilenceLane(int lane)
{
    k[lane] = 1.0f;
    a2[lane] = 0.0f;
    cA[lane] = 0.0f;
    cAPrev[lane] = 0.0f;
    cB[lane] = 0.0f;
}

void AnalyserStage::ResetStates()
{
    for (int lane = 0; lane < kAnalyserLanes; ++lane)
    {
        s1[lane] = 0.0f;
        s2[lane] = 0.0f;
    }
}
