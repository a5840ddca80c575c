// SPDX-License-Identifier: GPL-3.0-or-later
// One filter section: the matched-Z pole-zero part followed by a three-tap correction FIR
// C(z) = fir0 + fir1/z + fir2/z^2 fitted so that the section meets the analog prototype's
// magnitude near DC, at fs/6 and at fs/3. H(z) = C(z)*N(z)/D(z).
// Design runs in double precision; the fields hold single-precision values, and both the audio
// path and the display's curves use them as stored.
#pragma once

#include "FilterParams.h"
#include "FilterShape.h"

namespace FilterStage
{
struct MZTiBiquadParams : FilterParams
{
    ~MZTiBiquadParams() override = default;

    // Redesigns when any of the five inputs differs from the cache (exact comparison; a NaN never
    // matches), otherwise costs the five comparisons. Called before every processed block.
    // Inputs that give no finite, stable design (freq or sample rate not above 0, NaN) leave the
    // section passing its input.
    void Update(float freq, float q, float gainDb, FilterShape shape, float sampleRate);

    // out[i] *= |H|^2 at phi[i] = sin^2(pi*f/fs), for i < count. With initialise, out[i] is first
    // set to 1. Calls on one array multiply up to the squared magnitude of a cascade.
    void MultiplyMagnitudeSquared(float* out, const float* phi, int count, bool initialise) const;

    Relaxed<float> fir0 = 1.0f;
    Relaxed<float> fir1 = 0.0f;
    Relaxed<float> fir2 = 0.0f;
    // Design cache. The sample rate 0 never matches real inputs, so the first Update designs.
    Relaxed<float> freq = 0.0f;
    Relaxed<float> q = 0.0f;
    Relaxed<float> gainDb = 0.0f;
    Relaxed<float> sampleRate = 0.0f;
    Relaxed<FilterShape> shape = FilterShape::HighPass2;
};
} // namespace FilterStage
