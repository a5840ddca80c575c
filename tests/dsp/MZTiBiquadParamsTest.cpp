// SPDX-License-Identifier: GPL-3.0-or-later
#include "MZTiBiquadParams.h"
#include "AnalogPrototype.h"
#include "ProcessSection.h"
#include "SineMeasure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

using FilterStage::MZTiBiquadParams;
using dsptest::MeasureSineDb;
using dsptest::SectionDb;

namespace
{
MZTiBiquadParams Designed(float f, float q, float gainDb, FilterShape shape, float fs)
{
    MZTiBiquadParams p;
    p.Update(f, q, gainDb, shape, fs);
    return p;
}

double SineDb(const MZTiBiquadParams& p, double f, double fs)
{
    SectionState state;
    return MeasureSineDb([&](float* buf, int n) { ProcessSection(state, p, buf, buf, n); }, f, fs);
}

std::vector<float> Fields(const MZTiBiquadParams& p)
{
    return { p.k, p.a2, p.cA, p.cAPrev, p.cB, p.fir0, p.fir1, p.fir2 };
}

bool SameBits(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

std::vector<float> Noise(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (auto& x : v)
        x = dist(rng);
    return v;
}
} // namespace

TEST(MZTiBiquadParams, ConstructionPassesInputAndFirstUpdateDesigns)
{
    MZTiBiquadParams p;
    EXPECT_EQ(Fields(p), (std::vector<float> { 1, 0, 1, 0, 1, 1, 0, 0 }));
    EXPECT_EQ(p.shape.Load(), FilterShape::HighPass2);
    EXPECT_EQ(p.sampleRate.Load(), 0.0f);

    // The defaults of the cache must not stop a first design with matching freq, q and gain.
    p.Update(0.0f, 0.0f, 0.0f, FilterShape::HighPass2, 48000.0f);
    EXPECT_EQ(p.sampleRate.Load(), 48000.0f);
}

TEST(MZTiBiquadParams, ZeroGainBellIsIdentity)
{
    const auto p = Designed(1000.0f, 1.0f, 0.0f, FilterShape::Bell, 48000.0f);
    EXPECT_FLOAT_EQ(p.fir0, 1.0f);
    EXPECT_NEAR(p.fir1, 0.0f, 1e-6f);
    EXPECT_NEAR(p.fir2, 0.0f, 1e-6f);

    const auto in = Noise(1000, 1);
    std::vector<float> out(in.size());
    SectionState state;
    ProcessSection(state, p, out.data(), in.data(), static_cast<int>(in.size()));
    for (size_t i = 0; i < in.size(); ++i)
        ASSERT_NEAR(out[i], in[i], 1e-5f) << "sample " << i;
}

struct MagnitudeCase
{
    FilterShape shape;
    float f0, q, gainDb, fs;
    double at;
    double expectedDb;
    double tolerance;
};

// The analytic magnitude and a sine through the audio path must agree with each other and with
// the designed response.
TEST(MZTiBiquadParams, MagnitudeMatchesDesignAndAudioPath)
{
    const MagnitudeCase cases[] = {
        { FilterShape::Bell, 1000, 1, 6, 48000, 1000, 6.00, 0.005 },
        { FilterShape::Bell, 1000, 1, 6, 48000, 100, 0.065, 0.005 },
        { FilterShape::Bell, 1000, 1, 6, 48000, 10000, 0.065, 0.005 },
        { FilterShape::LowPass2, 1000, 0.7071f, 0, 48000, 1000, -3.01, 0.005 },
        { FilterShape::LowPass2, 1000, 0.7071f, 0, 48000, 20, 0.0, 0.005 },
        { FilterShape::LowPass2, 1000, 0.7071f, 0, 48000, 23900, -53.0, 0.1 },
        { FilterShape::HighPass2, 1000, 0.7071f, 0, 48000, 1000, -3.01, 0.005 },
        { FilterShape::LowShelf, 200, 0.7071f, -12, 48000, 20, -12.0, 0.05 },
        { FilterShape::HighShelf, 5000, 0.7071f, 9, 44100, 20000, 9.0, 0.1 },
        { FilterShape::LowPass1, 1000, 0, 0, 48000, 1000, -3.01, 0.005 },
        { FilterShape::HighPass1, 1000, 0, 0, 48000, 1000, -3.01, 0.005 },
    };
    for (const auto& c : cases)
    {
        const auto p = Designed(c.f0, c.q, c.gainDb, c.shape, c.fs);
        const double analytic = SectionDb(p, static_cast<float>(c.at), c.fs);
        const double sine = SineDb(p, c.at, c.fs);
        SCOPED_TRACE(testing::Message() << "shape " << static_cast<int>(c.shape) << " f0 " << c.f0 << " at " << c.at);
        EXPECT_NEAR(analytic, c.expectedDb, c.tolerance);
        EXPECT_NEAR(sine, analytic, 0.01);
    }
}

TEST(MZTiBiquadParams, CorrectionMeetsAnalogAtFittedFrequencies)
{
    // Bell at 12 kHz, Q 2, +12 dB: fs/6 = 8 kHz and fs/3 = 16 kHz lie on its skirts, where the bare
    // matched-Z mapping is off by decibels.
    const float fs = 48000.0f;
    const auto p = Designed(12000.0f, 2.0f, 12.0f, FilterShape::Bell, fs);
    const auto proto = AnalogPrototype::Make(FilterShape::Bell, 2.0, 12.0);
    for (double f : { fs / 6.0, fs / 3.0 })
        EXPECT_NEAR(SectionDb(p, static_cast<float>(f), fs), dsptest::ToDb(proto.MagnitudeSquared(f / 12000.0)), 0.01)
            << "at " << f << " Hz";
}

TEST(MZTiBiquadParams, UnchangedUpdateKeepsFieldsAndOutput)
{
    auto once = Designed(3000.0f, 0.9f, -4.5f, FilterShape::HighShelf, 44100.0f);
    auto twice = once;
    twice.Update(3000.0f, 0.9f, -4.5f, FilterShape::HighShelf, 44100.0f);
    EXPECT_TRUE(SameBits(Fields(once), Fields(twice)));

    const auto in = Noise(300, 2);
    std::vector<float> a(in.size()), b(in.size());
    SectionState sa, sb;
    ProcessSection(sa, once, a.data(), in.data(), 300);
    ProcessSection(sb, twice, b.data(), in.data(), 300);
    EXPECT_TRUE(SameBits(a, b));
}

TEST(MZTiBiquadParams, FirstOrderShapesIgnoreQButStillRedesign)
{
    const auto a = Designed(800.0f, 0.5f, 0.0f, FilterShape::HighPass1, 48000.0f);
    const auto b = Designed(800.0f, 3.0f, 0.0f, FilterShape::HighPass1, 48000.0f);
    EXPECT_TRUE(SameBits(Fields(a), Fields(b)));

    auto c = a;
    c.Update(800.0f, 3.0f, 0.0f, FilterShape::HighPass1, 48000.0f);
    EXPECT_EQ(c.q.Load(), 3.0f);
}

TEST(MZTiBiquadParams, MagnitudeProductIsCascade)
{
    const auto p = Designed(500.0f, 2.0f, 7.0f, FilterShape::Bell, 48000.0f);
    const auto lp = Designed(4000.0f, 0.7f, 0.0f, FilterShape::LowPass2, 48000.0f);
    std::vector<float> freqs(64), phi(64), init(64), ones(64, 1.0f), cascade(64);
    FillLogFrequencies(freqs.data(), 20.0f, 20000.0f, 64);
    FillPhi(phi.data(), freqs.data(), 48000.0, 64);

    p.MultiplyMagnitudeSquared(init.data(), phi.data(), 64, true);
    p.MultiplyMagnitudeSquared(ones.data(), phi.data(), 64, false);
    EXPECT_TRUE(SameBits(init, ones));

    p.MultiplyMagnitudeSquared(cascade.data(), phi.data(), 64, true);
    lp.MultiplyMagnitudeSquared(cascade.data(), phi.data(), 64, false);
    for (int i = 0; i < 64; ++i)
    {
        const double expected = SectionDb(p, freqs[i], 48000.0) + SectionDb(lp, freqs[i], 48000.0);
        EXPECT_NEAR(dsptest::ToDb(cascade[i]), expected, 1e-4) << "at " << freqs[i] << " Hz";
    }
}

// Settings whose fit has no real solution (a negative radicand): the section must stay finite and
// behave normally again once designed for ordinary settings.
TEST(MZTiBiquadParams, UnreachableFitStaysFiniteAndRecovers)
{
    struct Case
    {
        FilterShape shape;
        float f0, q, gainDb, fs;
    };
    const Case cases[] = {
        { FilterShape::LowShelf, 14200.0f, 8.0f, -24.0f, 48000.0f },
        { FilterShape::LowPass2, 23600.0f, 12.0f, 0.0f, 48000.0f },
        { FilterShape::HighPass2, 20000.0f, 12.0f, 0.0f, 32000.0f },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "shape " << static_cast<int>(c.shape) << " f0 " << c.f0);
        MZTiBiquadParams p;
        p.Update(c.f0, c.q, c.gainDb, c.shape, c.fs);
        for (float v : Fields(p))
            EXPECT_TRUE(std::isfinite(v));

        SectionState state;
        auto buf = Noise(4800, 3);
        ProcessSection(state, p, buf.data(), buf.data(), static_cast<int>(buf.size()));
        for (float v : buf)
            ASSERT_TRUE(std::isfinite(v) && std::fabs(v) < 1e3f);

        float f = 1000.0f;
        float phi = 0.0f;
        FillPhi(&phi, &f, c.fs, 1);
        float mag = 0.0f;
        p.MultiplyMagnitudeSquared(&mag, &phi, 1, true);
        EXPECT_TRUE(std::isfinite(mag));

        p.Update(1000.0f, 1.0f, 6.0f, FilterShape::Bell, c.fs);
        EXPECT_NEAR(MeasureSineDb([&](float* b, int n) { ProcessSection(state, p, b, b, n); }, 1000.0, c.fs), 6.0, 0.01);
    }
}

// Inputs a hostile host may cause (sample rate 0, NaN): the section passes its input instead of
// turning every later sample into NaN, and a valid design afterwards works normally.
TEST(MZTiBiquadParams, InvalidInputsGivePassThroughThenRecover)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case
    {
        float f0, q, gainDb, fs;
    };
    for (const Case c : { Case { 1000.0f, 1.0f, 6.0f, 0.0f }, Case { nan, 1.0f, 6.0f, 48000.0f },
                          Case { 1000.0f, nan, 6.0f, 48000.0f }, Case { 1000.0f, 1.0f, 6.0f, -44100.0f },
                          Case { -1000.0f, 1.0f, 6.0f, 44100.0f } })
    {
        SCOPED_TRACE(testing::Message() << "f0 " << c.f0 << " q " << c.q << " fs " << c.fs);
        MZTiBiquadParams p;
        p.Update(c.f0, c.q, c.gainDb, FilterShape::Bell, c.fs);
        EXPECT_EQ(Fields(p), (std::vector<float> { 1, 0, 1, 0, 1, 1, 0, 0 }));
        const auto in = Noise(64, 5);
        std::vector<float> out(64);
        SectionState state;
        ProcessSection(state, p, out.data(), in.data(), 64);
        for (int i = 0; i < 64; ++i)
            ASSERT_NEAR(out[i], in[i], 1e-6f) << "sample " << i;

        p.Update(1000.0f, 1.0f, 6.0f, FilterShape::Bell, 48000.0f);
        EXPECT_NEAR(SectionDb(p, 1000.0f, 48000.0), 6.0, 0.005);
    }
}
