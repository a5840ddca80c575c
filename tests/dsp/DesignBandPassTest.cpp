// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesignBandPass.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr double kPi = 3.14159265358979323846;

double BandDb(const std::array<BiquadCoefficients, kBandPassSections>& s, double f, double fs)
{
    return 10.0 * std::log10(CascadeMagnitudeSquared(s.data(), kBandPassSections, 2.0 * kPi * f / fs));
}
} // namespace

// The analyser's bands: 32 centres from 20 Hz to 20 kHz, each spanning f/e to f*e.
TEST(DesignBandPass, UnityAtCentreAndMinus3dBAtTheEdges)
{
    const double e = std::pow(1000.0, 1.0 / 32.0);
    const double step = std::pow(1000.0, 1.0 / 31.0);
    for (double fs : { 44100.0, 48000.0 })
    {
        for (int band = 0; band < 32; ++band)
        {
            const double f = 20.0 * std::pow(step, band);
            if (f >= 10000.0)
                break;
            const auto s = DesignBandPass(f, f * (e - 1.0 / e), fs);
            SCOPED_TRACE(testing::Message() << "fs " << fs << " band " << band << " at " << f << " Hz");
            EXPECT_NEAR(BandDb(s, f, fs), 0.0, 0.01);
            EXPECT_NEAR(BandDb(s, f / e, fs), -3.01, 0.01);
            EXPECT_NEAR(BandDb(s, f * e, fs), -3.01, 0.01);
            EXPECT_NEAR(BandDb(s, f * step, fs), -3.6, 0.15);
            EXPECT_NEAR(BandDb(s, f / step, fs), -3.6, 0.15);
            EXPECT_LT(BandDb(s, f / 4.0, fs), -60.0);
        }
    }
}

TEST(DesignBandPass, SectionsArePolePairsOverDoubleZeros)
{
    const auto s = DesignBandPass(1000.0, 240.0, 48000.0);
    for (int i = 0; i < kBandPassSections; ++i)
    {
        SCOPED_TRACE(testing::Message() << "section " << i);
        const double zero = (i % 2 == 0) ? -1.0 : 1.0;
        const double scale = s[i].b0;
        EXPECT_NEAR(s[i].b1 / scale, -2.0 * zero, 1e-12);
        EXPECT_NEAR(s[i].b2 / scale, 1.0, 1e-12);
        EXPECT_GT(s[i].a2, 0.0);
        EXPECT_LT(s[i].a2, 1.0) << "pole outside the unit circle";
        EXPECT_LT(s[i].a1 * s[i].a1, 4.0 * s[i].a2) << "poles not a complex pair";
    }
}

TEST(DesignBandPass, EdgesClampedAtDcAndNyquist)
{
    // Upper edge at Nyquist (clamped just below pi) and lower edge below 1e-8 rad: still a finite,
    // stable design with its peak inside the band.
    struct Case
    {
        double f, bw;
    };
    for (const Case c : { Case { 21000.0, 1050.0 }, Case { 20000.0, 2050.0 }, Case { 1e-5, 1e-4 } })
    {
        SCOPED_TRACE(testing::Message() << "f " << c.f << " bw " << c.bw);
        const auto s = DesignBandPass(c.f, c.bw, 44100.0);
        for (const auto& b : s)
        {
            EXPECT_TRUE(std::isfinite(b.b0) && std::isfinite(b.b1) && std::isfinite(b.a1) && std::isfinite(b.a2));
            EXPECT_LT(b.a2, 1.0);
        }
    }
}
