// SPDX-License-Identifier: GPL-3.0-or-later
// The audio path: per channel, the output gain while converting to single precision, the
// high-pass and low-pass cut filters, the four bands in place, and back to double. The
// analyser sees the input or the output. Allocation-free and lock-free: the binding holds the
// plug-in lock for the whole call.
#include "Parvel.h"

#include "ScopedFlushToZero.h"

#include <algorithm>
#include <cmath>

namespace
{
// ln(10)/20: exp(dB * this) is 10^(dB/20).
constexpr double kDbToLog = 0.1151292546497;

// Order parameters hold 0..7; the chain's order N is value + 1, rounded to absorb a value a
// hair off the integer.
int CutOrderOf(double value) { return (int) (value + 1.5); }
} // namespace

void Parvel::UpdateFilters()
{
    const auto fs = (float) GetSampleRate();

    highPass.Update(CutOrderOf(ParamValue(kOrder_HP)), (float) ParamValue(kFreq_HP), CutKind::HighPass, fs);
    lowPass.Update(CutOrderOf(ParamValue(kOrder_LP)), (float) ParamValue(kFreq_LP), CutKind::LowPass, fs);

    const FilterShape shapes[kNumBands] = {
        ParamOn(kLoShelf) ? FilterShape::LowShelf : FilterShape::Bell,
        FilterShape::Bell,
        FilterShape::Bell,
        ParamOn(kHiShelf) ? FilterShape::HighShelf : FilterShape::Bell,
    };
    // Switched-off bands are designed all the same, so they resume with current coefficients.
    for (int k = 0; k < kNumBands; ++k)
    {
        const int base = kParamsPerBand * k;
        bands[k].params.Update((float) ParamValue(base + 1), (float) ParamValue(base + 2),
                               (float) ParamValue(base + 3), shapes[k], fs);
    }

    outputGainFactor = options.showGain ? std::exp(ParamValue(kGain) * kDbToLog) : 1.0;
}

void Parvel::RenderBlock(double** inputs, double** outputs, int nFrames)
{
    UpdateFilters();

    const ScopedFlushToZero flushToZero;

    // A missing input reads as silence, a missing output is not written; the adapter never
    // hands over null buffers, a host calling in directly might.
    static const double kSilence[kChunkFrames] = {};
    const double* in0 = inputs != nullptr ? inputs[0] : nullptr;
    const double* in1 = inputs != nullptr && inputs[1] != nullptr ? inputs[1] : in0;
    double* out0 = outputs != nullptr ? outputs[0] : nullptr;
    double* out1 = outputs != nullptr ? outputs[1] : nullptr;
    const double gain = outputGainFactor;

    float buf0[kChunkFrames];
    float buf1[kChunkFrames];

    for (int remaining = nFrames; remaining > 0;)
    {
        const int n = std::min(remaining, kChunkFrames);
        const double* x0 = in0 != nullptr ? in0 : kSilence;
        const double* x1 = in1 != nullptr ? in1 : kSilence;
        // Switches are read per chunk, coefficients only in UpdateFilters above.
        const bool tapInput = options.analyserInput;
        if (tapInput)
            analyser.FeedStereo(x0, x1, n);

        // The gain scales in double before the rounding, so it acts on what enters the filters.
        for (int i = 0; i < n; ++i)
        {
            buf0[i] = (float) (gain * x0[i]);
            buf1[i] = (float) (gain * x1[i]);
        }

        // The cut filters and the bands that are on, in order, as one cascade: the same samples
        // as running them one after the other.
        SectionCascade chain;
        if (ParamOn(kBand_HP))
            highPass.AddTo(chain);
        if (ParamOn(kBand_LP))
            lowPass.AddTo(chain);
        for (int k = 0; k < kNumBands; ++k)
            if (ParamOn(kParamsPerBand * k))
                bands[k].AddTo(chain);
        chain.Process(buf0, buf1, n);

        if (out0 != nullptr)
            for (int i = 0; i < n; ++i)
                out0[i] = (double) buf0[i];
        if (out1 != nullptr)
            for (int i = 0; i < n; ++i)
                out1[i] = (double) buf1[i];

        if (! tapInput)
            analyser.FeedStereo(out0 != nullptr ? out0 : out1, out0 != nullptr ? out1 : nullptr, n);

        if (in0 != nullptr)
            in0 += n;
        if (in1 != nullptr)
            in1 += n;
        if (out0 != nullptr)
            out0 += n;
        if (out1 != nullptr)
            out1 += n;
        remaining -= n;
    }
}
