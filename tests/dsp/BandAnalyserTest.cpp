// SPDX-License-Identifier: GPL-3.0-or-later
#include "BandAnalyser.h"
#include "DesignBandPass.h"
#include "SimdLevels.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace
{
constexpr double kPi = 3.14159265358979323846;
constexpr double kFs = 44100.0;

struct Analyser : BandAnalyser
{
    explicit Analyser(double fs = kFs, int block = 128)
    {
        SetBlockLength(block);
        BuildBands(20.0, 20000.0, fs);
    }
};

std::vector<double> Sine(double f, double amplitude, int n, double fs = kFs)
{
    std::vector<double> v(n);
    for (int i = 0; i < n; ++i)
        v[i] = amplitude * std::sin(2.0 * kPi * f * i / fs);
    return v;
}

void FeedBlocks(BandAnalyser& a, const std::vector<double>& x, int block = 128)
{
    for (size_t at = 0; at < x.size(); at += block)
        a.Feed(x.data() + at, static_cast<int>(std::min<size_t>(block, x.size() - at)));
}

std::vector<float> Snapshot(const BandAnalyser& a)
{
    std::vector<float> v;
    for (int i = 0; i < BandAnalyser::kBands; ++i)
    {
        v.push_back(a.levels[i]);
        v.push_back(a.peaks[i]);
    }
    return v;
}

double Db(double ratio)
{
    return 20.0 * std::log10(ratio);
}
} // namespace

TEST(BandAnalyser, CentresRunFrom20HzTo20kHzAtAnyRate)
{
    for (double fs : { 44100.0, 96000.0 })
    {
        Analyser a(fs);
        EXPECT_EQ(a.GroupCount(), BandAnalyser::kGroups);
        EXPECT_FLOAT_EQ(a.bandFreqs[0], 20.0f);
        EXPECT_NEAR(a.bandFreqs[1], 24.99f, 0.005f);
        EXPECT_NEAR(a.bandFreqs[2], 31.23f, 0.005f);
        EXPECT_FLOAT_EQ(a.bandFreqs[31], 20000.0f);
        // The display gets the centres the bands were designed at, in double precision.
        for (int i = 0; i < BandAnalyser::kBands; ++i)
            EXPECT_DOUBLE_EQ(a.bandFreqs[i], 20.0 * std::exp(std::log(1000.0) * i / 31.0)) << "band " << i;
    }
    BandAnalyser unbuilt;
    EXPECT_EQ(unbuilt.GroupCount(), 0);
}

TEST(BandAnalyser, TopBandNarrowedBelowNyquist)
{
    const double e = std::pow(1000.0, 1.0 / 32.0);
    struct Case
    {
        double fs, bw;
    };
    for (const Case c : { Case { 44100.0, 2050.0 }, Case { 96000.0, 20000.0 * (e - 1.0 / e) } })
    {
        Analyser a(c.fs);
        AnalyserBank expected;
        expected.SetBand(31, 20000.0, c.bw, c.fs);
        const auto& bank = a.Bank();
        EXPECT_NE(bank.stages[0].cA[31], 0.0f) << "top band silenced";
        for (int s = 0; s < kBandPassSections; ++s)
        {
            SCOPED_TRACE(testing::Message() << "fs " << c.fs << " stage " << s);
            EXPECT_EQ(bank.stages[s].k[31], expected.stages[s].k[31]);
            EXPECT_EQ(bank.stages[s].a2[31], expected.stages[s].a2[31]);
            EXPECT_EQ(bank.stages[s].cA[31], expected.stages[s].cA[31]);
            EXPECT_EQ(bank.stages[s].cB[31], expected.stages[s].cB[31]);
        }
    }
    EXPECT_NEAR(20000.0 * (e - 1.0 / e), 8702.0, 1.0);
}

// Through the audio path: the lanes' single-precision stages and the envelope.
TEST(BandAnalyser, SteadySineAtACentreGivesItsAmplitude)
{
    for (int band : { 3, 12, 20, 27 })
    {
        Analyser a;
        const double f = a.bandFreqs[band];
        FeedBlocks(a, Sine(f, 0.5, 44100));
        SCOPED_TRACE(testing::Message() << "band " << band << " at " << f << " Hz");
        EXPECT_NEAR(Db(a.levels[band] / 0.5), 0.0, 0.1);
        EXPECT_NEAR(Db(a.levels[band + 1] / 0.5), -3.6, 0.3);
        EXPECT_NEAR(Db(a.levels[band - 1] / 0.5), -3.6, 0.3);
        EXPECT_LT(a.levels[band + 4], 0.5f * 0.01f);
        EXPECT_GE(a.peaks[band], a.levels[band]);
    }
}

TEST(BandAnalyser, ReleaseFallsToOneOverEIn300msWhilePeakHolds)
{
    Analyser a;
    const int band = 16;
    FeedBlocks(a, Sine(a.bandFreqs[band], 1.0, 22050));
    const float level = a.levels[band], peak = a.peaks[band];
    FeedBlocks(a, std::vector<double>(static_cast<size_t>(0.3 * kFs), 0.0));
    EXPECT_NEAR(a.levels[band] / level, std::exp(-1.0), 0.01);
    EXPECT_EQ(a.peaks[band], peak);
}

TEST(BandAnalyser, ClearPeaksAndResetLevels)
{
    // The onset of a steady sine leaves a far band a held peak well above its steady level.
    Analyser a;
    const int band = 18, far = 26;
    const auto x = Sine(a.bandFreqs[band], 1.0, 44100 + 128);
    a.Feed(x.data(), 44100);
    const float oldPeak = a.peaks[far], level = a.levels[band];
    ASSERT_GT(oldPeak, 3.0f * a.levels[far]);

    a.ClearPeaks();
    for (int b = 0; b < BandAnalyser::kBands; ++b)
        EXPECT_EQ(a.peaks[b], 0.0f) << "band " << b;
    EXPECT_EQ(a.levels[band], level);
    a.Feed(x.data() + 44100, 128);
    EXPECT_LT(a.peaks[far], 0.5f * oldPeak) << "old held peak came back";
    EXPECT_NEAR(a.peaks[band], 1.0f, 0.02f);

    // After a reset the analyser continues exactly as a fresh one: states, envelopes and peaks
    // all zeroed.
    a.ResetLevels();
    EXPECT_EQ(a.levels[band], 0.0f);
    EXPECT_EQ(a.peaks[band], 0.0f);
    Analyser fresh;
    const auto probe = Sine(300.0, 0.7, 1000);
    FeedBlocks(a, probe);
    FeedBlocks(fresh, probe);
    EXPECT_EQ(Snapshot(a), Snapshot(fresh));
}

// Hosts may run at 22.05 kHz or less while the bands still reach 20 kHz: bands above Nyquist read
// 0, never NaN, and the others still work.
TEST(BandAnalyser, LowSampleRatesSilenceBandsAboveNyquist)
{
    for (double fs : { 8000.0, 22050.0, 32000.0 })
    {
        Analyser a(fs);
        std::vector<double> noise(static_cast<size_t>(fs));
        unsigned seed = 1;
        for (auto& v : noise)
        {
            seed = seed * 1664525u + 1013904223u;
            v = (seed >> 8) / double(1 << 24) - 0.5;
        }
        FeedBlocks(a, noise);
        for (int b = 0; b < BandAnalyser::kBands; ++b)
        {
            SCOPED_TRACE(testing::Message() << "fs " << fs << " band " << b);
            ASSERT_TRUE(std::isfinite(a.levels[b]) && std::isfinite(a.peaks[b]));
            if (a.bandFreqs[b] >= fs / 2.0)
                EXPECT_EQ(a.peaks[b], 0.0f);
            else
                EXPECT_GT(a.levels[b], 0.0f);
            EXPECT_LT(a.peaks[b], 2.0f);
        }
    }
}

TEST(BandAnalyser, DisabledFreezesLevelsAndDoesNoWork)
{
    Analyser a;
    FeedBlocks(a, Sine(2000.0, 1.0, 4410));
    const auto frozen = Snapshot(a);
    a.enabled = false;
    FeedBlocks(a, Sine(200.0, 1.0, 4410));
    const auto left = Sine(5000.0, 1.0, 64), right = Sine(50.0, 1.0, 64);
    a.FeedStereo(left.data(), right.data(), 64);
    EXPECT_EQ(Snapshot(a), frozen);

    // Switching on again after a reset starts from zero.
    a.ResetLevels();
    a.enabled = true;
    Analyser fresh;
    const auto probe = Sine(700.0, 0.3, 2000);
    FeedBlocks(a, probe);
    FeedBlocks(fresh, probe);
    EXPECT_EQ(Snapshot(a), Snapshot(fresh));
}

TEST(BandAnalyser, FeedStereoMixesDistinctChannels)
{
    const auto left = Sine(440.0, 0.8, 100), right = Sine(3000.0, 0.4, 100);
    std::vector<double> mix(100);
    for (int i = 0; i < 100; ++i)
        mix[i] = (left[i] + right[i]) * 0.5;

    Analyser stereo, mono;
    stereo.FeedStereo(left.data(), right.data(), 100);
    mono.Feed(mix.data(), 64);
    mono.Feed(mix.data() + 64, 36);
    EXPECT_EQ(Snapshot(stereo), Snapshot(mono));

    Analyser same, nullSecond, plain;
    same.FeedStereo(left.data(), left.data(), 100);
    nullSecond.FeedStereo(left.data(), nullptr, 100);
    plain.Feed(left.data(), 100);
    EXPECT_EQ(Snapshot(same), Snapshot(plain));
    EXPECT_EQ(Snapshot(nullSecond), Snapshot(plain));
}

TEST(BandAnalyser, OversizedBlocksAndMissingSetupAreSafe)
{
    const auto x = Sine(1500.0, 1.0, 1000);
    Analyser small(kFs, 64), large(kFs, 1000);
    small.Feed(x.data(), 1000);
    large.Feed(x.data(), 1000);
    EXPECT_EQ(Snapshot(small), Snapshot(large));

    BandAnalyser unsized;
    unsized.BuildBands(20.0, 20000.0, kFs);
    unsized.Feed(x.data(), 1000);
    unsized.SetBlockLength(-5);
    unsized.Feed(x.data(), 1000);
    EXPECT_EQ(unsized.levels[20], 0.0f);

    BandAnalyser unbuilt;
    unbuilt.SetBlockLength(128);
    unbuilt.Feed(x.data(), 128);
    unbuilt.FeedStereo(x.data(), x.data() + 1, 128);
    unbuilt.Feed(nullptr, 128);
    unbuilt.FeedStereo(nullptr, nullptr, 128);
    EXPECT_EQ(unbuilt.levels[0], 0.0f);

    // Resizing between blocks keeps the filter memory.
    Analyser resized(kFs, 128), steady(kFs, 128);
    resized.Feed(x.data(), 128);
    steady.Feed(x.data(), 128);
    resized.SetBlockLength(512);
    resized.Feed(x.data() + 128, 500);
    steady.Feed(x.data() + 128, 500);
    EXPECT_EQ(Snapshot(resized), Snapshot(steady));
}

// A NaN or infinity in the fed signal must not stick in the levels and peaks the editor draws.
TEST(BandAnalyser, RecoversFromNonFiniteInput)
{
    for (double bad : { std::nan(""), HUGE_VAL })
    {
        Analyser a, fresh;
        auto x = Sine(1000.0, 0.5, 128);
        x[10] = bad;
        a.Feed(x.data(), 128);
        for (int b = 0; b < BandAnalyser::kBands; ++b)
            EXPECT_TRUE(std::isfinite(a.levels[b]) && std::isfinite(a.peaks[b])) << "band " << b;
        const auto clean = Sine(440.0, 0.5, 1000);
        FeedBlocks(a, clean);
        FeedBlocks(fresh, clean);
        EXPECT_EQ(Snapshot(a), Snapshot(fresh));
    }
}

// Every kernel gives the levels, peaks and filter states of the plain lane-by-lane loops, for
// noise and sines in random block sizes, mono and stereo feeds, at rates that silence bands, and
// through a non-finite sample that makes lanes restart.
TEST(BandAnalyser, EveryLevelGivesTheValuesOfThePlainLoops)
{
    if (dsptest::X86Build())
    {
        ASSERT_TRUE(SimdLevelAvailable(SimdLevel::Sse2)) << "the vector kernels were not built";
    }
    for (double fs : { 8000.0, 44100.0, 96000.0 })
    {
        for (SimdLevel level : dsptest::AvailableSimdLevels())
        {
            SCOPED_TRACE(testing::Message() << dsptest::SimdLevelName(level) << " at " << fs << " Hz");
            Analyser mine(fs, 100), reference(fs, 100);
            mine.SetSimdLevel(level);
            reference.SetSimdLevel(SimdLevel::Portable);

            std::mt19937 rng(static_cast<unsigned>(fs));
            std::uniform_real_distribution<double> noise(-1.0, 1.0);
            std::vector<double> left(6000), right(6000);
            for (size_t i = 0; i < left.size(); ++i)
            {
                left[i] = 0.5 * std::sin(0.01 * i * i / 6000.0) + 0.1 * noise(rng);
                right[i] = noise(rng);
            }
            left[3000] = std::nan("");
            std::uniform_int_distribution<int> piece(1, 300);
            for (size_t at = 0; at < left.size();)
            {
                const int n = static_cast<int>(std::min<size_t>(piece(rng), left.size() - at));
                if (n % 2 == 0)
                {
                    mine.FeedStereo(left.data() + at, right.data() + at, n);
                    reference.FeedStereo(left.data() + at, right.data() + at, n);
                }
                else
                {
                    mine.Feed(left.data() + at, n);
                    reference.Feed(left.data() + at, n);
                }
                at += n;
                ASSERT_EQ(Snapshot(mine), Snapshot(reference)) << "after " << at << " samples";
            }
            for (int s = 0; s < kAnalyserStages; ++s)
            {
                EXPECT_EQ(std::memcmp(mine.Bank().stages[s].s1, reference.Bank().stages[s].s1, sizeof(float) * 32), 0);
                EXPECT_EQ(std::memcmp(mine.Bank().stages[s].s2, reference.Bank().stages[s].s2, sizeof(float) * 32), 0);
            }
        }
    }
}

// The editor reads levels and clears peaks without a lock while the audio thread feeds.
TEST(BandAnalyser, EditorAccessWhileFeedingIsRaceFree)
{
    Analyser a;
    const auto x = Sine(1000.0, 1.0, 128);
    std::atomic<bool> done { false };
    std::thread audio([&] {
        for (int i = 0; i < 2000; ++i)
            a.FeedStereo(x.data(), x.data(), 128);
        done = true;
    });
    float sum = 0.0f;
    for (int i = 0; !done; ++i)
    {
        for (int b = 0; b < BandAnalyser::kBands; ++b)
            sum += a.levels[b] + a.peaks[b] + a.bandFreqs[b];
        if (i % 16 == 0)
            a.ClearPeaks();
        if (i % 64 == 0)
            a.ResetLevels();
        a.enabled = (i % 8) != 0;
    }
    audio.join();
    EXPECT_TRUE(std::isfinite(sum));
}
