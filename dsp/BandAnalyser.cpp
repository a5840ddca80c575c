// SPDX-License-Identifier: GPL-3.0-or-later
// Audio path (Feed, FeedStereo): allocation-free and lock-free.
#include "BandAnalyser.h"

#include <algorithm>
#include <cmath>

static_assert(BandAnalyser::kBands == AnalyserBank::kLanes, "one lane per band");

void BandAnalyser::BuildBands(double fmin, double fmax, double fs)
{
    // Each band spans f/e to f*e; neighbouring centres lie (fmax/fmin)^(1/31) apart.
    const double e = std::pow(fmax / fmin, 1.0 / kBands);
    const double relativeWidth = e - 1.0 / e;
    for (int band = 0; band < kBands; ++band)
    {
        const double f = fmin * std::exp(std::log(fmax / fmin) * band / (kBands - 1));
        double bw = f * relativeWidth;
        if (f + bw > fs / 2.0)
            bw = fs / 2.0 - f;
        bandFreqs[band] = f;
        bank.SetBand(band, f, bw, fs);
    }
    groupCount = kGroups;
    ResetNow();
}

void BandAnalyser::SetBlockLength(int n)
{
    n = std::max(n, 0);
    if (n == blockLength && !input.empty())
        return;
    // Allocate first: if that throws, the old buffer and length stay valid together.
    std::vector<float> storage(static_cast<size_t>(n), 0.0f);
    input.swap(storage);
    blockLength = n;
}

void BandAnalyser::Feed(const double* samples, int count)
{
    if (!enabled.Load())
        return;
    ApplyRequests();
    if (samples == nullptr || count <= 0 || blockLength == 0 || groupCount.Load() == 0)
        return;

    for (int done = 0; done < count;)
    {
        const int n = std::min(count - done, blockLength);
        for (int i = 0; i < n; ++i)
            input[i] = static_cast<float>(samples[done + i]);
        bank.Process(input.data(), n, simdLevel);
        done += n;
    }
    Publish();
}

void BandAnalyser::FeedStereo(const double* first, const double* second, int count)
{
    // Feed would do nothing: spare the mixing.
    if (!enabled.Load())
        return;
    if (first == nullptr)
        first = second;
    if (second == nullptr || second == first)
    {
        Feed(first, count);
        return;
    }
    double mixed[kStereoPiece];
    for (int done = 0; done < count;)
    {
        const int n = std::min(count - done, kStereoPiece);
        for (int i = 0; i < n; ++i)
            mixed[i] = (first[done + i] + second[done + i]) * 0.5;
        Feed(mixed, n);
        done += n;
    }
}

void BandAnalyser::ResetLevels()
{
    resetRequested = true;
    for (int i = 0; i < kBands; ++i)
    {
        levels[i] = 0.0;
        peaks[i] = 0.0;
    }
}

void BandAnalyser::ClearPeaks()
{
    clearPeaksRequested = true;
    for (auto& p : peaks)
        p = 0.0;
}

void BandAnalyser::ApplyRequests()
{
    if (resetRequested.Exchange(false))
    {
        clearPeaksRequested = false;
        ResetNow();
    }
    else if (clearPeaksRequested.Exchange(false))
    {
        bank.ClearPeaks();
    }
}

void BandAnalyser::ResetNow()
{
    resetRequested = false;
    clearPeaksRequested = false;
    bank.ResetLevels();
    Publish();
}

void BandAnalyser::Publish()
{
    if (groupCount.Load() == 0)
        return;
    for (int band = 0; band < kBands; ++band)
    {
        levels[band] = bank.envelope[band];
        peaks[band] = bank.heldPeak[band];
    }
}
