// SPDX-License-Identifier: GPL-3.0-or-later
#include "SweepSignal.h"

#include <algorithm>
#include <cmath>

AudioBuffer MakeSweep(const SweepSpec& spec, double sampleRate, int channels)
{
    AudioBuffer out;
    out.sampleRate = sampleRate;
    out.channels = channels;
    out.frames = (long long) std::llround(spec.seconds * sampleRate);
    out.samples.resize((size_t) (out.frames * channels));
    const double ratioLog = std::log(spec.endHz / spec.startHz);
    const double k = 2.0 * M_PI * spec.startHz * spec.seconds / ratioLog;
    for (long long n = 0; n < out.frames; ++n)
    {
        const double t = (double) n / sampleRate;
        const double phase = k * (std::exp(ratioLog * t / spec.seconds) - 1.0);
        const float v = (float) (spec.amplitude * std::sin(phase));
        for (int c = 0; c < channels; ++c)
            out.samples[(size_t) (n * channels + c)] = v;
    }
    return out;
}

bool SweepGainAt(const SweepSpec& spec, const AudioBuffer& source, const AudioBuffer& rendered, double hz,
                 double& gainDb)
{
    if (hz < spec.startHz || hz > spec.endHz || source.channels < 1 || rendered.channels < 1)
        return false;
    const double ratioLog = std::log(spec.endHz / spec.startHz);
    const double rate = source.sampleRate;
    // Time at which the sweep passes a frequency: t(f) = T ln(f/f0) / ln(f1/f0).
    auto timeOf = [&](double f) { return spec.seconds * std::log(f / spec.startHz) / ratioLog; };
    double half = 0.5 * (timeOf(hz * std::pow(2.0, 1.0 / 12.0)) - timeOf(hz));
    half = std::max(half, 4.0 / hz);
    const long long centre = (long long) std::llround(timeOf(hz) * rate);
    const long long frames = std::min(source.frames, rendered.frames);
    const long long first = std::max(0LL, centre - (long long) (half * rate));
    const long long last = std::min(frames, centre + (long long) (half * rate));
    if (last - first < 2)
        return false;
    double inSum = 0.0, outSum = 0.0;
    for (long long n = first; n < last; ++n)
    {
        const double a = source.at(n, 0), b = rendered.at(n, 0);
        inSum += a * a;
        outSum += b * b;
    }
    if (inSum <= 0.0)
        return false;
    gainDb = 10.0 * std::log10(std::max(outSum, 1e-30) / inSum);
    return true;
}
