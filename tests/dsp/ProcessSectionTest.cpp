// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProcessSection.h"
#include "BandSection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace
{
std::vector<float> Noise(int n, unsigned seed = 7)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (auto& x : v)
        x = dist(rng);
    return v;
}

FilterStage::MZTiBiquadParams Section()
{
    FilterStage::MZTiBiquadParams p;
    p.Update(2500.0f, 3.0f, 9.0f, FilterShape::Bell, 48000.0f);
    return p;
}
} // namespace

// The unrolled body and the remainder loop must carry the state across any split of the signal,
// and out-of-place must equal in-place.
TEST(ProcessSection, AnySplitAndInPlaceGiveTheSameSamples)
{
    const auto p = Section();
    const auto in = Noise(1000);
    std::vector<float> whole(in.size());
    SectionState s;
    ProcessSection(s, p, whole.data(), in.data(), static_cast<int>(in.size()));

    for (int piece : { 1, 2, 3, 5, 7, 128 })
    {
        std::vector<float> split = in;
        SectionState t;
        for (size_t at = 0; at < split.size(); at += piece)
        {
            const int n = static_cast<int>(std::min<size_t>(piece, split.size() - at));
            ProcessSection(t, p, split.data() + at, split.data() + at, n);
        }
        EXPECT_EQ(std::memcmp(split.data(), whole.data(), whole.size() * sizeof(float)), 0) << "pieces of " << piece;
        EXPECT_EQ(std::memcmp(&t, &s, sizeof s), 0) << "pieces of " << piece;
    }
}

TEST(ProcessSection, ZeroCountTouchesNothing)
{
    const auto p = Section();
    SectionState s { 0.5f, -0.25f, 0.125f, 2.0f };
    float sentinel = 42.0f;
    ProcessSection(s, p, &sentinel, &sentinel, 0);
    EXPECT_EQ(sentinel, 42.0f);
    EXPECT_EQ(s.s1, 0.5f);
    EXPECT_EQ(s.h2, 2.0f);
}

// A redesign continues from the state the old coefficients left: the first sample after it
// already uses the new coefficients with the old memory.
TEST(ProcessSection, RedesignKeepsState)
{
    auto p = Section();
    const auto in = Noise(256);
    std::vector<float> out(256);
    SectionState s;
    ProcessSection(s, p, out.data(), in.data(), 128);
    const SectionState before = s;
    p.Update(600.0f, 0.8f, -6.0f, FilterShape::Bell, 48000.0f);
    ProcessSection(s, p, out.data() + 128, in.data() + 128, 128);

    SectionState fresh = before;
    std::vector<float> expected(128);
    ProcessSection(fresh, p, expected.data(), in.data() + 128, 128);
    EXPECT_EQ(std::memcmp(expected.data(), out.data() + 128, 128 * sizeof(float)), 0);

    SectionState zero;
    std::vector<float> fromSilence(128);
    ProcessSection(zero, p, fromSilence.data(), in.data() + 128, 128);
    EXPECT_NE(fromSilence[0], out[128]);
}

// Both channels side by side must give exactly the samples and states of one channel after the
// other, whatever the count.
TEST(ProcessSection, StereoEqualsOneChannelAfterTheOther)
{
    const auto p = Section();
    for (int n : { 1, 6, 128, 131 })
    {
        auto left = Noise(n, 11), right = Noise(n, 12);
        auto expectedLeft = left, expectedRight = right;
        SectionState e0 { 0.1f, 0.2f, 0.3f, 0.4f }, e1 { -0.4f, 0.3f, -0.2f, 0.1f };
        BandSection band;
        band.params = p;
        band.states[0] = e0;
        band.states[1] = e1;
        ProcessSection(e0, p, expectedLeft.data(), expectedLeft.data(), n);
        ProcessSection(e1, p, expectedRight.data(), expectedRight.data(), n);
        band.Process(left.data(), right.data(), n);
        SCOPED_TRACE(testing::Message() << "count " << n);
        EXPECT_EQ(left, expectedLeft);
        EXPECT_EQ(right, expectedRight);
        EXPECT_EQ(std::memcmp(&band.states[0], &e0, sizeof e0), 0);
        EXPECT_EQ(std::memcmp(&band.states[1], &e1, sizeof e1), 0);
    }

    // Mono: the second state stays as it was.
    BandSection mono;
    mono.params = p;
    auto x = Noise(64, 13);
    mono.Process(x.data(), nullptr, 64);
    EXPECT_EQ(mono.states[1].s1, 0.0f);
    EXPECT_NE(mono.states[0].s1, 0.0f);
}

// A NaN or infinity from the host passes through the block it arrives in; the next block starts
// from a clean state instead of staying non-finite for good.
TEST(ProcessSection, RecoversFromNonFiniteInput)
{
    const auto p = Section();
    for (float bad : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity() })
    {
        auto dirty = Noise(128, 21), clean = Noise(128, 22);
        dirty[40] = bad;
        SectionState s, fresh;
        ProcessSection(s, p, dirty.data(), dirty.data(), 128);
        EXPECT_FALSE(std::isfinite(dirty[40]));
        auto expected = clean;
        ProcessSection(s, p, clean.data(), clean.data(), 128);
        ProcessSection(fresh, p, expected.data(), expected.data(), 128);
        EXPECT_EQ(clean, expected);

        BandSection band;
        band.params = p;
        auto left = Noise(128, 23), right = Noise(128, 24);
        right[3] = bad;
        band.Process(left.data(), right.data(), 128);
        EXPECT_TRUE(std::isfinite(band.states[1].s1) && std::isfinite(band.states[1].h2));
        EXPECT_NE(band.states[0].s1, 0.0f) << "the clean channel was reset too";
    }
}

TEST(ProcessSection, PairEqualsFourSeparateRuns)
{
    FilterStage::MZTiBiquadParams second;
    second.Update(150.0f, 0.7f, 0.0f, FilterShape::HighPass2, 48000.0f);
    BandSection a, b;
    a.params = Section();
    b.params = second;
    for (int n : { 1, 3, 128, 130 })
    {
        auto left = Noise(n, 31), right = Noise(n, 32);
        auto expectedLeft = left, expectedRight = right;
        BandSection ea = a, eb = b;
        ProcessSection(ea.states[0], ea.params, expectedLeft.data(), expectedLeft.data(), n);
        ProcessSection(eb.states[0], eb.params, expectedLeft.data(), expectedLeft.data(), n);
        ProcessSection(ea.states[1], ea.params, expectedRight.data(), expectedRight.data(), n);
        ProcessSection(eb.states[1], eb.params, expectedRight.data(), expectedRight.data(), n);
        BandSection::ProcessPair(a, b, left.data(), right.data(), n);
        SCOPED_TRACE(testing::Message() << "count " << n);
        EXPECT_EQ(left, expectedLeft);
        EXPECT_EQ(right, expectedRight);
        for (int ch = 0; ch < 2; ++ch)
        {
            EXPECT_EQ(std::memcmp(&a.states[ch], &ea.states[ch], sizeof(SectionState)), 0);
            EXPECT_EQ(std::memcmp(&b.states[ch], &eb.states[ch], sizeof(SectionState)), 0);
        }
    }
}
