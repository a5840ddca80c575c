// SPDX-License-Identifier: GPL-3.0-or-later
// The default test signal, a logarithmic sine sweep, and the level of a rendered sweep at a
// given frequency. The sweep's instantaneous frequency is f(t) = f0 * (f1/f0)^(t/T); its phase
// is the integral 2 pi f0 T / ln(f1/f0) * ((f1/f0)^(t/T) - 1).
#pragma once

#include "WavFile.h"

struct SweepSpec
{
    double startHz = 20.0;
    double endHz = 20000.0;
    double seconds = 5.0;
    double amplitude = 0.5; // -6 dBFS
};

AudioBuffer MakeSweep(const SweepSpec& spec, double sampleRate, int channels);

// Gain in dB of rendered against source around the moment the sweep passes hz, from the RMS of
// both over a window of a sixth of an octave (at least eight periods). Channel 0 of each.
// Returns false when hz lies outside the sweep.
bool SweepGainAt(const SweepSpec& spec, const AudioBuffer& source, const AudioBuffer& rendered, double hz,
                 double& gainDb);
