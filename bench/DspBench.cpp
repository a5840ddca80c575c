// SPDX-License-Identifier: GPL-3.0-or-later
// Equaliser signal processing: one section, the effect's full chain of 12 sections per channel
// against a textbook biquad cascade, the analyser, and the section design.
#include "Headlines.h"

#include "BandAnalyser.h"
#include "BandSection.h"
#include "CutFilterChain.h"
#include "ProcessSection.h"
#include "SectionCascade.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace
{
constexpr int kBlock = 128;
constexpr double kFs = 48000.0;
constexpr double kPi = 3.14159265358979323846;

std::vector<float> Noise(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> dist(-0.5f, 0.5f);
    std::vector<float> v(n);
    for (auto& x : v)
        x = dist(rng);
    return v;
}

void SetUnits(benchmark::State& state, double units)
{
    state.counters["units"] = units;
}

void SectionProcess(benchmark::State& state)
{
    FilterStage::MZTiBiquadParams p;
    p.Update(1000.0f, 1.0f, 6.0f, FilterShape::Bell, static_cast<float>(kFs));
    SectionState s;
    const auto in = Noise(kBlock, 1);
    std::vector<float> out(kBlock);
    for (auto _ : state)
    {
        ProcessSection(s, p, out.data(), in.data(), kBlock);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    SetUnits(state, kBlock);
}
BENCHMARK(SectionProcess);

// The effect's audio path minus conversions: high-pass and low-pass chains of order 8 and four
// bell bands, 12 sections per channel, over one stereo block, as one cascade on the given kernel.
struct EffectChain
{
    SimdLevel level = BestSimdLevel();
    CutFilterChain highPass, lowPass;
    BandSection bands[4];

    EffectChain()
    {
        const float fs = static_cast<float>(kFs);
        highPass.Update(8, 40.0f, CutKind::HighPass, fs);
        lowPass.Update(8, 16000.0f, CutKind::LowPass, fs);
        const float freqs[4] = { 120.0f, 600.0f, 2500.0f, 8000.0f };
        for (int k = 0; k < 4; ++k)
            bands[k].params.Update(freqs[k], 1.0f, k % 2 == 0 ? 4.0f : -4.0f, FilterShape::Bell, fs);
    }

    void Process(float* buf0, float* buf1, int n)
    {
        SectionCascade chain;
        highPass.AddTo(chain);
        lowPass.AddTo(chain);
        for (auto& band : bands)
            band.AddTo(chain);
        chain.Process(buf0, buf1, n, level);
    }
};

// One stereo block of noise through a chain per iteration. Both chains of the ratio run through
// this one loop, so they are measured the same way.
template <typename Chain>
void RunStereoBlocks(benchmark::State& state, Chain& chain)
{
    const auto in0 = Noise(kBlock, 2), in1 = Noise(kBlock, 3);
    float buf0[kBlock], buf1[kBlock];
    for (auto _ : state)
    {
        std::copy(in0.begin(), in0.end(), buf0);
        std::copy(in1.begin(), in1.end(), buf1);
        chain.Process(buf0, buf1, kBlock);
        benchmark::DoNotOptimize(buf0);
        benchmark::DoNotOptimize(buf1);
        benchmark::ClobberMemory();
    }
    SetUnits(state, kBlock);
}

void ChainStereo(benchmark::State& state)
{
    EffectChain chain;
    RunStereoBlocks(state, chain);
}
BENCHMARK(ChainStereo);

// The same on each narrower kernel, for comparison.
void ChainStereoAt(benchmark::State& state, SimdLevel level)
{
    if (!SimdLevelAvailable(level))
    {
        state.SkipWithError("not available on this processor");
        return;
    }
    EffectChain chain;
    chain.level = level;
    RunStereoBlocks(state, chain);
}
BENCHMARK_CAPTURE(ChainStereoAt, Sse2, SimdLevel::Sse2);
BENCHMARK_CAPTURE(ChainStereoAt, Portable, SimdLevel::Portable);

// The yardstick: the same 12 sections per channel as a plain transposed direct form II cascade
// with bilinear-transform (cookbook) coefficients, in single precision.
struct Tdf2Biquad
{
    float b0, b1, b2, a1, a2;
};

Tdf2Biquad Normalised(double b0, double b1, double b2, double a0, double a1, double a2)
{
    return { static_cast<float>(b0 / a0), static_cast<float>(b1 / a0), static_cast<float>(b2 / a0),
             static_cast<float>(a1 / a0), static_cast<float>(a2 / a0) };
}

Tdf2Biquad BilinearPeak(double f, double q, double gainDb)
{
    const double a = std::pow(10.0, gainDb / 40.0), w = 2.0 * kPi * f / kFs, alpha = std::sin(w) / (2.0 * q);
    return Normalised(1.0 + alpha * a, -2.0 * std::cos(w), 1.0 - alpha * a, 1.0 + alpha / a, -2.0 * std::cos(w), 1.0 - alpha / a);
}

Tdf2Biquad BilinearPass(double f, double q, bool high)
{
    const double w = 2.0 * kPi * f / kFs, alpha = std::sin(w) / (2.0 * q), c = std::cos(w);
    const double b1 = high ? -(1.0 + c) : 1.0 - c;
    return Normalised(std::fabs(b1) / 2.0, b1, std::fabs(b1) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

struct ReferenceCascade
{
    static constexpr int kSections = 12;
    Tdf2Biquad c[kSections];
    float z[2][kSections][2] = {};

    ReferenceCascade()
    {
        const double q8[4] = { 2.5629154, 0.9000976, 0.6013449, 0.5097956 };
        for (int i = 0; i < 4; ++i)
        {
            c[i] = BilinearPass(40.0, q8[i], true);
            c[4 + i] = BilinearPass(16000.0, q8[i], false);
        }
        const double freqs[4] = { 120.0, 600.0, 2500.0, 8000.0 };
        for (int k = 0; k < 4; ++k)
            c[8 + k] = BilinearPeak(freqs[k], 1.0, k % 2 == 0 ? 4.0 : -4.0);
    }

    void ProcessChannel(int ch, float* buf, int n)
    {
        for (int s = 0; s < kSections; ++s)
        {
            const Tdf2Biquad k = c[s];
            float z1 = z[ch][s][0], z2 = z[ch][s][1];
            for (int i = 0; i < n; ++i)
            {
                const float x = buf[i];
                const float y = k.b0 * x + z1;
                z1 = k.b1 * x - k.a1 * y + z2;
                z2 = k.b2 * x - k.a2 * y;
                buf[i] = y;
            }
            z[ch][s][0] = z1;
            z[ch][s][1] = z2;
        }
    }

    void Process(float* buf0, float* buf1, int n)
    {
        ProcessChannel(0, buf0, n);
        ProcessChannel(1, buf1, n);
    }
};

void ReferenceChainStereo(benchmark::State& state)
{
    ReferenceCascade chain;
    RunStereoBlocks(state, chain);
}
BENCHMARK(ReferenceChainStereo);

void AnalyserFeedStereoAt(benchmark::State& state, SimdLevel level)
{
    if (!SimdLevelAvailable(level))
    {
        state.SkipWithError("not available on this processor");
        return;
    }
    BandAnalyser analyser;
    analyser.SetBlockLength(kBlock);
    analyser.BuildBands(20.0, 20000.0, kFs);
    analyser.SetSimdLevel(level);
    std::vector<double> left(kBlock), right(kBlock);
    const auto n0 = Noise(kBlock, 4), n1 = Noise(kBlock, 5);
    for (int i = 0; i < kBlock; ++i)
    {
        left[i] = n0[i];
        right[i] = n1[i];
    }
    for (auto _ : state)
    {
        analyser.FeedStereo(left.data(), right.data(), kBlock);
        benchmark::ClobberMemory();
    }
    SetUnits(state, kBlock);
}

void AnalyserFeedStereo(benchmark::State& state)
{
    AnalyserFeedStereoAt(state, BestSimdLevel());
}
BENCHMARK(AnalyserFeedStereo);
BENCHMARK_CAPTURE(AnalyserFeedStereoAt, Sse2, SimdLevel::Sse2);

void UpdateChanged(benchmark::State& state)
{
    FilterStage::MZTiBiquadParams p;
    float gain = 3.0f;
    for (auto _ : state)
    {
        gain = -gain;
        p.Update(1000.0f, 1.0f, gain, FilterShape::Bell, static_cast<float>(kFs));
        benchmark::DoNotOptimize(&p);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(UpdateChanged);

void UpdateUnchanged(benchmark::State& state)
{
    FilterStage::MZTiBiquadParams p;
    float gain = 3.0f;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(gain);
        p.Update(1000.0f, 1.0f, gain, FilterShape::Bell, static_cast<float>(kFs));
        benchmark::DoNotOptimize(&p);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(UpdateUnchanged);

const int kHeadlines[] = {
    bench::AddNsPerUnit(100, "section_ns_per_sample", "SectionProcess"),
    bench::AddNsPerUnit(110, "chain_ns_per_stereo_frame", "ChainStereo"),
    bench::AddNsPerUnit(112, "chain_sse2_ns_per_stereo_frame", "ChainStereoAt/Sse2"),
    bench::AddNsPerUnit(114, "chain_portable_ns_per_stereo_frame", "ChainStereoAt/Portable"),
    bench::AddNsPerUnit(120, "reference_chain_ns_per_stereo_frame", "ReferenceChainStereo"),
    bench::AddHeadline(130, { "chain_ratio_vs_reference", "x",
                              [](const bench::Results& r, double& v) {
                                  const auto a = r.find("ChainStereo"), b = r.find("ReferenceChainStereo");
                                  if (a == r.end() || b == r.end() || b->second <= 0.0)
                                      return false;
                                  v = a->second / b->second;
                                  return true;
                              } }),
    bench::AddNsPerUnit(140, "analyser_ns_per_frame", "AnalyserFeedStereo"),
    bench::AddNsPerUnit(142, "analyser_sse2_ns_per_frame", "AnalyserFeedStereoAt/Sse2"),
    bench::AddNsPerUnit(150, "update_changed_ns", "UpdateChanged"),
    bench::AddNsPerUnit(160, "update_unchanged_ns", "UpdateUnchanged"),
};
} // namespace
