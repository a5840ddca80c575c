// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's whole audio path: RenderBlock with both cut filters at 48 dB/oct and four bell
// bands on (twelve sections per channel), the output gain shown, conversions included, in
// 512-frame stereo blocks at 48 kHz; with the analyser off (the factory default) and on.
#include "Headlines.h"

#include "Parvel.h"

#include <benchmark/benchmark.h>

#include <random>
#include <utility>
#include <vector>

namespace
{
constexpr int kBlock = 512;

void Configure(Parvel& fx, bool analyser)
{
    fx.ChangeSampleRate(48000.0);
    fx.ChangeBlockSize(kBlock);
    const std::pair<int, double> settings[] = {
        { kBand_HP, 1 },    { kFreq_HP, 40 },      { kOrder_HP, 7 },   { kBand_LP, 1 },   { kFreq_LP, 16000 },
        { kOrder_LP, 7 },   { kBand_Low, 1 },      { kFreq_Low, 120 }, { kQ_Low, 1 },     { kGain_Low, 4 },
        { kLoShelf, 0 },    { kBand_LoMid, 1 },    { kFreq_LoMid, 600 }, { kQ_LoMid, 1 }, { kGain_LoMid, -4 },
        { kBand_HiMid, 1 }, { kFreq_HiMid, 2500 }, { kQ_HiMid, 1 },    { kGain_HiMid, 4 }, { kBand_High, 1 },
        { kFreq_High, 8000 }, { kQ_High, 1 },      { kGain_High, -4 }, { kHiShelf, 0 },   { kGain, -2 },
    };
    for (const auto& [idx, v] : settings)
        fx.Param(idx)->SetPlain(v);
    fx.Options().showGain = true;
    fx.SetAnalyserOn(analyser);
}

void PluginRender(benchmark::State& state, bool analyser)
{
    Parvel fx;
    Configure(fx, analyser);
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> dist(-0.5, 0.5);
    std::vector<double> in0(kBlock), in1(kBlock), out0(kBlock), out1(kBlock);
    for (int i = 0; i < kBlock; ++i)
    {
        in0[i] = dist(rng);
        in1[i] = dist(rng);
    }
    double* inputs[2] = { in0.data(), in1.data() };
    double* outputs[2] = { out0.data(), out1.data() };
    for (auto _ : state)
    {
        fx.RenderBlock(inputs, outputs, kBlock);
        benchmark::DoNotOptimize(out0.data());
        benchmark::DoNotOptimize(out1.data());
        benchmark::ClobberMemory();
    }
    state.counters["units"] = kBlock;
}
BENCHMARK_CAPTURE(PluginRender, AnalyserOff, false);
BENCHMARK_CAPTURE(PluginRender, AnalyserOn, true);

const int kHeadlines[] = {
    bench::AddNsPerUnit(135, "plugin_ns_per_stereo_frame", "PluginRender/AnalyserOff"),
    bench::AddNsPerUnit(137, "plugin_with_analyser_ns_per_stereo_frame", "PluginRender/AnalyserOn"),
};
} // namespace
