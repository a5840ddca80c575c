// SPDX-License-Identifier: GPL-3.0-or-later
#include "CutFilterChain.h"
#include "SineMeasure.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using dsptest::MeasureSineDb;

namespace
{
CutFilterChain Designed(int order, double f, CutKind kind, double fs)
{
    CutFilterChain c;
    c.DesignButterworth(order, f, kind, fs);
    return c;
}

double ChainDb(const CutFilterChain& c, float f, double fs)
{
    float phi = 0.0f, out = 0.0f;
    FillPhi(&phi, &f, fs, 1);
    c.MultiplyMagnitudeSquared(&out, &phi, 1);
    return dsptest::ToDb(out);
}

double ChainSineDb(CutFilterChain c, double f, double fs)
{
    return MeasureSineDb([&](float* buf, int n) { c.Process(buf, nullptr, n); }, f, fs);
}

bool SameSection(const FilterStage::MZTiBiquadParams& a, const FilterStage::MZTiBiquadParams& b)
{
    const float fa[] = { a.k, a.a2, a.cA, a.cAPrev, a.cB, a.fir0, a.fir1, a.fir2, a.freq, a.q };
    const float fb[] = { b.k, b.a2, b.cA, b.cAPrev, b.cB, b.fir0, b.fir1, b.fir2, b.freq, b.q };
    return std::memcmp(fa, fb, sizeof fa) == 0 && a.shape.Load() == b.shape.Load();
}
} // namespace

TEST(CutFilterChain, EveryOrderIsMinus3dBAtCutoff)
{
    for (CutKind kind : { CutKind::HighPass, CutKind::LowPass })
        for (int n = 1; n <= 8; ++n)
        {
            const auto c = Designed(n, 1000.0, kind, 48000.0);
            SCOPED_TRACE(testing::Message() << "order " << n << " kind " << static_cast<int>(kind));
            EXPECT_EQ(c.ActiveSections(), (n + 1) / 2);
            EXPECT_NEAR(ChainDb(c, 1000.0f, 48000.0), -3.01, 0.01);
            EXPECT_NEAR(ChainSineDb(c, 1000.0, 48000.0), -3.01, 0.01);
        }
}

TEST(CutFilterChain, SlopesMatchTheOrder)
{
    struct Case
    {
        int order;
        CutKind kind;
        double at, expectedDb;
    };
    const Case cases[] = {
        { 4, CutKind::HighPass, 500.0, -24.1 },
        { 4, CutKind::HighPass, 250.0, -48.2 },
        { 8, CutKind::HighPass, 500.0, -48.2 },
        { 1, CutKind::LowPass, 2000.0, -7.0 },
    };
    for (const auto& c : cases)
    {
        const auto chain = Designed(c.order, 1000.0, c.kind, 48000.0);
        SCOPED_TRACE(testing::Message() << "order " << c.order << " at " << c.at);
        const double analytic = ChainDb(chain, static_cast<float>(c.at), 48000.0);
        EXPECT_NEAR(analytic, c.expectedDb, 0.05);
        EXPECT_NEAR(ChainSineDb(chain, c.at, 48000.0), analytic, 0.01);
    }
}

TEST(CutFilterChain, ButterworthQsHighestFirstAndFirstOrderLast)
{
    const auto four = Designed(4, 500.0, CutKind::HighPass, 44100.0);
    EXPECT_NEAR(four.sections[0].q, 1.30656f, 1e-5f);
    EXPECT_NEAR(four.sections[1].q, 0.541196f, 1e-5f);
    EXPECT_EQ(four.sections[0].shape.Load(), FilterShape::HighPass2);

    const auto three = Designed(3, 500.0, CutKind::LowPass, 44100.0);
    EXPECT_NEAR(three.sections[0].q, 1.0f, 1e-6f);
    EXPECT_EQ(three.sections[0].shape.Load(), FilterShape::LowPass2);
    EXPECT_EQ(three.sections[1].shape.Load(), FilterShape::LowPass1);

    const auto two = Designed(2, 500.0, CutKind::LowPass, 44100.0);
    EXPECT_NEAR(two.sections[0].q, 0.707107f, 1e-6f);
}

TEST(CutFilterChain, InactiveSectionsStayUntouched)
{
    auto c = Designed(3, 2000.0, CutKind::LowPass, 48000.0);
    std::vector<float> buf0(128, 0.5f), buf1(128, -0.5f);
    c.Process(buf0.data(), buf1.data(), 128);
    const auto firstOrder = c.sections[1];
    const SectionState state0 = c.states[0][1], state1 = c.states[1][1];

    EXPECT_TRUE(c.Update(2, 2000.0f, CutKind::LowPass, 48000.0f));
    EXPECT_EQ(c.ActiveSections(), 1);
    c.Process(buf0.data(), buf1.data(), 128);
    EXPECT_TRUE(SameSection(c.sections[1], firstOrder));
    EXPECT_EQ(std::memcmp(&c.states[0][1], &state0, sizeof state0), 0);
    EXPECT_EQ(std::memcmp(&c.states[1][1], &state1, sizeof state1), 0);
    EXPECT_NEAR(ChainDb(c, 2000.0f, 48000.0), -3.01, 0.01);
}

TEST(CutFilterChain, UpdateDesignsOnlyOnChange)
{
    CutFilterChain c;
    EXPECT_EQ(c.ActiveSections(), 0);
    EXPECT_TRUE(c.Update(5, 300.0f, CutKind::HighPass, 48000.0f));
    EXPECT_FALSE(c.Update(5, 300.0f, CutKind::HighPass, 48000.0f));
    EXPECT_TRUE(c.Update(5, 300.0f, CutKind::LowPass, 48000.0f));
    EXPECT_EQ(c.sections[2].shape.Load(), FilterShape::LowPass1);
    EXPECT_TRUE(c.Update(5, 300.0f, CutKind::LowPass, 44100.0f));
    EXPECT_EQ(c.sections[0].sampleRate.Load(), 44100.0f);
}

TEST(CutFilterChain, OrdersOutsideOneToEightAreClamped)
{
    auto low = Designed(0, 1000.0, CutKind::HighPass, 48000.0);
    EXPECT_EQ(low.order.Load(), 1);
    EXPECT_EQ(low.sections[0].shape.Load(), FilterShape::HighPass1);

    auto high = Designed(1000, 1000.0, CutKind::HighPass, 48000.0);
    EXPECT_EQ(high.order.Load(), 8);
    EXPECT_EQ(high.ActiveSections(), 4);
    EXPECT_NEAR(ChainDb(high, 500.0f, 48000.0), -48.2, 0.05);
    EXPECT_EQ(Designed(-3, 1000.0, CutKind::LowPass, 48000.0).ActiveSections(), 1);
}

TEST(CutFilterChain, ChannelsKeepSeparateStates)
{
    std::vector<float> left(131), right(131);
    for (size_t i = 0; i < left.size(); ++i)
    {
        left[i] = std::sin(0.05f * i);
        right[i] = (i % 7 == 0) ? 1.0f : -0.1f;
    }
    for (int order = 1; order <= 8; ++order)
    {
        SCOPED_TRACE(testing::Message() << "order " << order);
        auto monoLeft = Designed(order, 800.0, CutKind::HighPass, 48000.0);
        auto monoRight = Designed(order, 800.0, CutKind::HighPass, 48000.0);
        auto stereo = Designed(order, 800.0, CutKind::HighPass, 48000.0);
        auto l = left, r = right, ml = left, mr = right;
        monoLeft.Process(ml.data(), nullptr, 131);
        monoRight.Process(mr.data(), nullptr, 131);
        stereo.Process(l.data(), r.data(), 131);
        EXPECT_EQ(l, ml);
        EXPECT_EQ(r, mr);
        for (int i = 0; i < CutFilterChain::kMaxSections; ++i)
        {
            EXPECT_EQ(monoLeft.states[1][i].s1, 0.0f) << "channel 1 ran without a buffer";
            EXPECT_EQ(std::memcmp(&stereo.states[1][i], &monoRight.states[0][i], sizeof(SectionState)), 0);
            EXPECT_EQ(std::memcmp(&stereo.states[0][i], &monoLeft.states[0][i], sizeof(SectionState)), 0);
        }
    }
}

TEST(CutFilterChain, HighQSectionsNearNyquistStayFinite)
{
    for (double fs : { 8000.0, 22050.0, 44100.0 })
    {
        auto c = Designed(8, 20000.0, CutKind::LowPass, fs);
        std::vector<float> buf(4096);
        for (size_t i = 0; i < buf.size(); ++i)
            buf[i] = (i % 3 == 0) ? 1.0f : -0.5f;
        c.Process(buf.data(), nullptr, static_cast<int>(buf.size()));
        for (float v : buf)
            ASSERT_TRUE(std::isfinite(v)) << "at " << fs << " Hz";
    }
}
