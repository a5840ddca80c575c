// SPDX-License-Identifier: GPL-3.0-or-later
// Circles and discs drawn white on black: the antialiased area equals the ideal one, the pixel
// grid convention (integer points are pixel centres), and clipping of any centre and radius.
#include "RCanvas.h"
#include "RasterTestUtil.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace
{
constexpr RPixel kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;
constexpr double kPi = 3.14159265358979323846;

// Sum of coverage over the bitmap, in pixels, and coverage of a pixel, 0..1.
double TotalCoverage(const RBitmap& b)
{
    double sum = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            sum += RRed(b.At(x, y)) / 255.0;
    return sum;
}
} // namespace

TEST(RCircle, AntialiasedCoverageIsTheIdealArea)
{
    // Tolerance: the total within 0.3 % of the ideal area (and 0.1 pixel); pixels more than a
    // half diagonal from the edge are exactly full or empty.
    struct Case
    {
        float cx, cy, r;
    };
    for (const Case& c : {Case{16, 16, 10}, Case{15.25f, 16.6f, 5.3f}, Case{16.5f, 15.5f, 1.2f}, Case{10, 12, 0.4f}})
    {
        SCOPED_TRACE(::testing::Message() << c.cx << ", " << c.cy << " r " << c.r);
        Filled disc(32, 32, kBlack), ring(32, 32, kBlack);
        RCanvas(disc).FillCircle(c.cx, c.cy, c.r, kWhite, 1.0f, RBlendMode::Copy, true);
        RCanvas(ring).Circle(c.cx, c.cy, c.r, kWhite, 1.0f, RBlendMode::Copy, true);
        const double discArea = kPi * c.r * c.r;
        const double inner = std::max(0.0, c.r - 0.5), ringArea = kPi * ((c.r + 0.5) * (c.r + 0.5) - inner * inner);
        EXPECT_NEAR(TotalCoverage(disc), discArea, std::max(0.1, discArea * 0.003));
        EXPECT_NEAR(TotalCoverage(ring), ringArea, std::max(0.1, ringArea * 0.003));
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
            {
                const double d = std::hypot(x - c.cx, y - c.cy);
                if (d < c.r - 0.71)
                {
                    EXPECT_EQ(disc.At(x, y), kWhite) << x << ", " << y;
                }
                if (d > c.r + 0.71)
                {
                    EXPECT_EQ(disc.At(x, y), kBlack) << x << ", " << y;
                }
                if (std::fabs(d - c.r) > 1.21)
                {
                    EXPECT_EQ(ring.At(x, y), kBlack) << x << ", " << y;
                }
            }
    }
}

TEST(RCircle, IntegerCentreIsAPixelCentre)
{
    // A disc of radius 4.5 around pixel (10, 10) reaches pixels 6 and 14 of its row and column
    // (plain: whole; antialiased: all but the corners, coverage at least 250) and is symmetric
    // about that pixel.
    for (bool aa : {false, true})
    {
        SCOPED_TRACE(aa ? "antialiased" : "plain");
        Filled b(21, 21, kBlack);
        RCanvas(b).FillCircle(10.0f, 10.0f, 4.5f, kWhite, 1.0f, RBlendMode::Copy, aa);
        const int least = aa ? 250 : 255;
        EXPECT_GE(RRed(b.At(6, 10)), least);
        EXPECT_GE(RRed(b.At(14, 10)), least);
        EXPECT_GE(RRed(b.At(10, 6)), least);
        EXPECT_GE(RRed(b.At(10, 14)), least);
        EXPECT_LE(RRed(b.At(5, 10)), aa ? 5 : 0);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 21; ++x)
            {
                ASSERT_EQ(b.At(x, y), b.At(20 - x, y)) << x << ", " << y;
                ASSERT_EQ(b.At(x, y), b.At(x, 20 - y)) << x << ", " << y;
                ASSERT_EQ(b.At(x, y), b.At(y, x)) << x << ", " << y;
            }
    }
}

TEST(RCircle, PlainCircleIsAClosedOnePixelRing)
{
    // The ring is connected, leaves the centre and the inside dark, and each row and column
    // through the centre crosses it exactly twice.
    Filled b(32, 32, kBlack);
    RCanvas(b).Circle(16.0f, 16.0f, 9.0f, kWhite, 1.0f, RBlendMode::Copy, false);
    EXPECT_EQ(b.At(16, 16), kBlack);
    EXPECT_EQ(b.At(16 + 5, 16 + 5), kBlack);
    for (int i = 0; i < 32; ++i)
    {
        EXPECT_EQ(b.At(i, 16) == kWhite, i == 7 || i == 25) << "row, x " << i;
        EXPECT_EQ(b.At(16, i) == kWhite, i == 7 || i == 25) << "column, y " << i;
    }
    // Connectedness: a flood over 8-neighbours from (7, 16) reaches every lit pixel.
    std::vector<int> seen(32 * 32, 0), stack{16 * 32 + 7};
    int reached = 0, lit = 0;
    for (int p = 0; p < 32 * 32; ++p)
        lit += b.At(p % 32, p / 32) == kWhite;
    seen[16 * 32 + 7] = 1;
    while (!stack.empty())
    {
        const int p = stack.back();
        stack.pop_back();
        ++reached;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
            {
                const int x = p % 32 + dx, y = p / 32 + dy;
                if (x >= 0 && x < 32 && y >= 0 && y < 32 && !seen[y * 32 + x] && b.At(x, y) == kWhite)
                {
                    seen[y * 32 + x] = 1;
                    stack.push_back(y * 32 + x);
                }
            }
    }
    EXPECT_EQ(reached, lit);
}

TEST(RCircle, WeightAndModeApply)
{
    Filled b(20, 20, 0xFF202020);
    RCanvas(b).FillCircle(10, 10, 6, 0xFF404040, 0.5f, RBlendMode::Add, true);
    EXPECT_TRUE(Near(b.At(10, 10), 0xFF404040));
    EXPECT_EQ(b.At(0, 0), 0xFF202020u);
}

TEST(RCircle, AnyCentreAndRadiusDrawOnlyInsideTheClip)
{
    constexpr float kInf = std::numeric_limits<float>::infinity(), kNaN = std::numeric_limits<float>::quiet_NaN();
    struct Case
    {
        float cx, cy, r;
        bool fillsClip; // the disc covers the whole clip
    };
    const Case cases[] = {
        {16, 16, FLT_MAX, true},   {-1e30f, 16, 2e30f, true},  {1e9f, 16, 1e9f - 10, false}, {-100, 16, 40, false},
        {16, -1e20f, 5, false},    {FLT_MAX, FLT_MAX, FLT_MAX, false}, {-FLT_MAX, 0, FLT_MAX, false},
        {kInf, 16, 5, false},      {16, 16, kInf, false},       {kNaN, 16, 5, false},          {16, 16, kNaN, false},
        {16, 16, -3, false},       {16, 16, 0, false},          {2e9f, -2e9f, 1e3f, false},
    };
    for (const Case& c : cases)
        for (bool aa : {false, true})
        {
            SCOPED_TRACE(::testing::Message() << c.cx << ", " << c.cy << " r " << c.r << (aa ? " antialiased" : ""));
            Filled disc(32, 32, kBlack), ring(32, 32, kBlack);
            for (RBitmap* b : {(RBitmap*) &disc, (RBitmap*) &ring})
            {
                RCanvas canvas(*b);
                canvas.SetClip(RRect{4, 4, 28, 28});
                if (b == &disc)
                    canvas.FillCircle(c.cx, c.cy, c.r, kWhite, 1.0f, RBlendMode::Copy, aa);
                else
                    canvas.Circle(c.cx, c.cy, c.r, kWhite, 1.0f, RBlendMode::Copy, aa);
                EXPECT_FALSE(ChangedOutside(*b, 4, 4, 28, 28, kBlack));
            }
            if (c.fillsClip)
            {
                EXPECT_EQ(TotalCoverage(disc), 24.0 * 24.0);
            }
        }
}
