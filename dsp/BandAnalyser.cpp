// SPDX-License-Identifier: GPL-3.0-or-later
// Audio path (Feed, FeedStereo): allocation-free and lock-free.
#include "BandAnalyser.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

void BandAnalyser::BuildBands(double fmin, double fmax, double fs)
{
    groups.resize(kGroups);
    // Each band spans f/e to f*e; neighbouring centres lie (fmax/fmin)^(1/31) apart.
    const double e = std::pow(fmax / fmin, 1.0 / kBands);
    const double relativeWidth = e - 1.0 / e;
    for (int j = 0; j < kGroups; ++j)
    {
        for (int lane = 0; lane < AnalyserGroup::kLanes; ++lane)
        {
            const int band = AnalyserGroup::kLanes * j + lane;
            const double f = fmin * std::exp(std::log(fmax / fmin) * band / (kBands - 1));
            double bw = f * relativeWidth;
            if (f + bw > fs / 2.0)
                bw = fs / 2.0 - f;
            bandFreqs[band] = f;
            groups[j].SetBand(lane, f, bw, fs);
        }
    }
    groupCount = kGroups;
    ResetNow();
}

void BandAnalyser::SetBlockLength(int n)
{
    n = std::max(n, 0);
    if (n == blockLength && input != nullptr)
        return;
    // Allocate first: if that throws, the old buffer and length stay valid together.
    std::vector<float> storage(4 * static_cast<size_t>(n) + 4, 0.0f);
    inputStorage.swap(storage);
    const auto address = reinterpret_cast<std::uintptr_t>(inputStorage.data());
    input = inputStorage.data() + ((16 - address % 16) % 16) / sizeof(float);
    blockLength = n;
}

void BandAnalyser::Feed(const double* samples, int count)
{
    if (!enabled.Load())
        return;
    ApplyRequests();
    if (samples == nullptr || count <= 0 || blockLength == 0 || groups.empty())
        return;

    for (int done = 0; done < count;)
    {
        const int n = std::min(count - done, blockLength);
        for (int i = 0; i < n; ++i)
        {
            const float x = static_cast<float>(samples[done + i]);
            input[4 * i] = x;
            input[4 * i + 1] = x;
            input[4 * i + 2] = x;
            input[4 * i + 3] = x;
        }
        for (auto& g : groups)
            g.Process(input, n);
        done += n;
    }
    Publish();
}

void BandAnalyser::FeedStereo(const double* first, const double* second, int count)
{
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
        for (auto& g : groups)
            g.ClearPeaks();
    }
}

void BandAnalyser::ResetNow()
{
    resetRequested = false;
    clearPeaksRequested = false;
    for (auto& g : groups)
        g.ResetLevels();
    Publish();
}

void BandAnalyser::Publish()
{
    const int n = std::min(static_cast<int>(groups.size()), kGroups);
    for (int j = 0; j < n; ++j)
    {
        for (int lane = 0; lane < AnalyserGroup::kLanes; ++lane)
        {
            levels[AnalyserGroup::kLanes * j + lane] = groups[j].envelope[lane];
            peaks[AnalyserGroup::kLanes * j + lane] = groups[j].heldPeak[lane];
        }
    }
}
