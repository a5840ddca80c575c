// SPDX-License-Identifier: GPL-3.0-or-later
#include "SectionCascade.h"

#include "CutFilterChain.h"
#include "ProcessSection.h"
#include "SimdLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace
{
// A random setting of the effect's filters: both cut filters (any order, on or off) and four
// bands (on or off; the outer ones bells or shelves), all designed at one sample rate.
struct Setting
{
    CutFilterChain highPass, lowPass;
    FilterStage::MZTiBiquadParams bands[4];
    SectionState bandStates[4][2];
    bool highOn = false, lowOn = false, bandOn[4] = {};

    // The sections that run, in the audio path's order.
    struct Ref
    {
        const FilterStage::MZTiBiquadParams* params;
        SectionState* state[2];
    };
    std::vector<Ref> Running()
    {
        std::vector<Ref> r;
        for (auto* chain : { highOn ? &highPass : nullptr, lowOn ? &lowPass : nullptr })
            if (chain != nullptr)
                for (int i = 0; i < chain->ActiveSections(); ++i)
                    r.push_back({ &chain->sections[i], { &chain->states[0][i], &chain->states[1][i] } });
        for (int k = 0; k < 4; ++k)
            if (bandOn[k])
                r.push_back({ &bands[k], { &bandStates[k][0], &bandStates[k][1] } });
        return r;
    }
};

float LogUniform(std::mt19937& rng, float lo, float hi)
{
    return lo * std::pow(hi / lo, std::uniform_real_distribution<float>(0.0f, 1.0f)(rng));
}

void Design(Setting& s, std::mt19937& rng, float fs)
{
    std::uniform_int_distribution<int> order(1, 8), coin(0, 1);
    std::uniform_real_distribution<float> gain(-24.0f, 24.0f);
    s.highOn = coin(rng) != 0;
    s.lowOn = coin(rng) != 0;
    s.highPass.Update(order(rng), LogUniform(rng, 20.0f, 20000.0f), CutKind::HighPass, fs);
    s.lowPass.Update(order(rng), LogUniform(rng, 20.0f, 20000.0f), CutKind::LowPass, fs);
    for (int k = 0; k < 4; ++k)
    {
        FilterShape shape = FilterShape::Bell;
        if (k == 0 && coin(rng) != 0)
            shape = FilterShape::LowShelf;
        if (k == 3 && coin(rng) != 0)
            shape = FilterShape::HighShelf;
        s.bandOn[k] = coin(rng) != 0;
        s.bands[k].Update(LogUniform(rng, 20.0f, 20000.0f), LogUniform(rng, 0.3f, 12.0f), gain(rng), shape, fs);
    }
}

std::vector<float> Noise(std::mt19937& rng, int n)
{
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (auto& x : v)
        x = dist(rng);
    return v;
}

// Equal bits, or both not a number (the payload of a NaN may depend on operand order).
bool SameSample(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

::testing::AssertionResult SameSamples(const std::vector<float>& got, const std::vector<float>& want)
{
    for (size_t i = 0; i < want.size(); ++i)
        if (!SameSample(got[i], want[i]))
            return ::testing::AssertionFailure()
                << "sample " << i << ": " << got[i] << " instead of " << want[i] << " (every sample must match bit for bit)";
    return ::testing::AssertionSuccess();
}

enum class Wiring
{
    Stereo,  // two buffers
    Mono,    // buf1 null
    Aliased, // buf1 == buf0
};
} // namespace

// The cascade against ProcessSection of each running section in turn, per channel, for random
// settings, random block splits (including blocks shorter than the pipeline is deep), the three
// ways of passing channels, and redesigns between blocks; on every kernel the processor has.
TEST(SectionCascade, EveryLevelGivesTheSamplesOfTheSectionsOneAfterTheOther)
{
    if (dsptest::X86Build())
    {
        ASSERT_TRUE(SimdLevelAvailable(SimdLevel::Sse2)) << "the vector kernels were not built";
    }

    for (SimdLevel level : dsptest::AvailableSimdLevels())
    {
        for (Wiring wiring : { Wiring::Stereo, Wiring::Mono, Wiring::Aliased })
        {
            for (unsigned seed = 1; seed <= 40; ++seed)
            {
                SCOPED_TRACE(testing::Message() << dsptest::SimdLevelName(level) << ", wiring "
                                                << static_cast<int>(wiring) << ", seed " << seed);
                std::mt19937 rng(seed);
                const float rates[] = { 22050.0f, 44100.0f, 48000.0f, 96000.0f };
                const float fs = rates[seed % 4];
                Setting mine, reference;
                std::mt19937 designRng(seed * 7919u);
                Design(mine, designRng, fs);
                designRng.seed(seed * 7919u);
                Design(reference, designRng, fs);

                const int frames = 700;
                const auto in0 = Noise(rng, frames), in1 = Noise(rng, frames);
                std::vector<float> got0 = in0, got1 = in1, want0 = in0, want1 = in1;

                std::uniform_int_distribution<int> piece(0, 150), event(0, 5);
                for (int at = 0; at < frames;)
                {
                    const int n = std::min(piece(rng), frames - at);
                    if (event(rng) == 0)
                    {
                        // The same redesign in both, between blocks.
                        const std::uint32_t s = rng();
                        std::mt19937 a(s), b(s);
                        Design(mine, a, fs);
                        Design(reference, b, fs);
                    }

                    SectionCascade cascade;
                    for (const auto& r : mine.Running())
                        ASSERT_TRUE(cascade.Add(*r.params, *r.state[0], *r.state[1]));
                    float* b0 = got0.data() + at;
                    float* b1 = wiring == Wiring::Stereo ? got1.data() + at : wiring == Wiring::Aliased ? b0 : nullptr;
                    cascade.Process(b0, b1, n, level);

                    const auto sections = reference.Running();
                    for (const auto& r : sections)
                        ProcessSection(*r.state[0], *r.params, want0.data() + at, want0.data() + at, n);
                    float* second = wiring == Wiring::Stereo ? want1.data() + at : wiring == Wiring::Aliased ? want0.data() + at : nullptr;
                    if (second != nullptr)
                        for (const auto& r : sections)
                            ProcessSection(*r.state[1], *r.params, second, second, n);
                    at += n;
                }
                ASSERT_TRUE(SameSamples(got0, want0)) << "channel 0";
                ASSERT_TRUE(SameSamples(got1, want1)) << "channel 1";
                const auto a = mine.Running(), b = reference.Running();
                for (size_t i = 0; i < a.size(); ++i)
                    for (int ch = 0; ch < 2; ++ch)
                        ASSERT_EQ(std::memcmp(a[i].state[ch], b[i].state[ch], sizeof(SectionState)), 0)
                            << "state of section " << i << ", channel " << ch;
            }
        }
    }
}

// A NaN or infinity from the host: the kernels pass it on within its block exactly as the plain
// loops do, and the sections restart from zero for the next block, on every kernel.
TEST(SectionCascade, EveryLevelRecoversFromNonFiniteInputAsTheSectionsDo)
{
    for (SimdLevel level : dsptest::AvailableSimdLevels())
    {
        for (float bad : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity() })
        {
            SCOPED_TRACE(testing::Message() << dsptest::SimdLevelName(level) << ", " << bad);
            std::mt19937 rng(5);
            Setting mine, reference;
            std::mt19937 a(99), b(99);
            Design(mine, a, 48000.0f);
            Design(reference, b, 48000.0f);
            mine.highOn = reference.highOn = true;
            mine.bandOn[2] = reference.bandOn[2] = true;

            auto got0 = Noise(rng, 256), got1 = Noise(rng, 256);
            got1[37] = bad;
            auto want0 = got0, want1 = got1;
            for (int at : { 0, 128 })
            {
                SectionCascade cascade;
                for (const auto& r : mine.Running())
                    cascade.Add(*r.params, *r.state[0], *r.state[1]);
                cascade.Process(got0.data() + at, got1.data() + at, 128, level);
                for (const auto& r : reference.Running())
                {
                    ProcessSection(*r.state[0], *r.params, want0.data() + at, want0.data() + at, 128);
                    ProcessSection(*r.state[1], *r.params, want1.data() + at, want1.data() + at, 128);
                }
            }
            EXPECT_TRUE(SameSamples(got0, want0));
            EXPECT_TRUE(SameSamples(got1, want1));
            EXPECT_TRUE(std::isfinite(got1[255])) << "channel 1 did not recover";
        }
    }
}

TEST(SectionCascade, RefusesSectionsBeyondItsCapacity)
{
    FilterStage::MZTiBiquadParams p;
    SectionState states[SectionCascade::kMaxSections + 1][2];
    SectionCascade cascade;
    for (int i = 0; i < SectionCascade::kMaxSections; ++i)
        EXPECT_TRUE(cascade.Add(p, states[i][0], states[i][1]));
    EXPECT_FALSE(cascade.Add(p, states[SectionCascade::kMaxSections][0], states[SectionCascade::kMaxSections][1]));
    EXPECT_EQ(cascade.Count(), SectionCascade::kMaxSections);
}
