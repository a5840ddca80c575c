// SPDX-License-Identifier: GPL-3.0-or-later
// Lines drawn white on black: which pixels a plain line takes, how an antialiased one shares
// its coverage, and that nothing lands outside the clip whatever the end points.
#include "RCanvas.h"
#include "RasterTestUtil.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <utility>

namespace
{
constexpr RPixel kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;

struct Seg
{
    int x1, y1, x2, y2;
};

const Seg kSegs[] = {{2, 3, 2, 3},  {1, 1, 14, 1},  {14, 2, 1, 2},   {3, 1, 3, 13},  {0, 0, 15, 15}, {15, 0, 0, 15},
                     {1, 2, 13, 7}, {13, 7, 1, 2},  {2, 14, 6, 1},   {1, 1, 5, 3},   {0, 9, 15, 8},  {4, 0, 5, 15},
                     {12, 12, 1, 4}, {7, 2, 9, 13}, {0, 15, 15, 14}, {9, 14, 10, 0}};

std::set<std::pair<int, int>> Lit(const RBitmap& b)
{
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.At(x, y) != kBlack)
                s.insert({x, y});
    return s;
}
} // namespace

TEST(RLine, PlainLineTakesTheNearestPixelOfEveryStepBothEndsIncluded)
{
    for (const Seg& s : kSegs)
    {
        SCOPED_TRACE(::testing::Message() << s.x1 << "," << s.y1 << " - " << s.x2 << "," << s.y2);
        Filled fwd(16, 16, kBlack), back(16, 16, kBlack);
        RCanvas(fwd).Line(s.x1, s.y1, s.x2, s.y2, kWhite, 1.0f, RBlendMode::Copy, false);
        RCanvas(back).Line(s.x2, s.y2, s.x1, s.y1, kWhite, 1.0f, RBlendMode::Copy, false);
        const auto lit = Lit(fwd);
        EXPECT_EQ(lit, Lit(back)) << "the same pixels in both directions";
        EXPECT_TRUE(lit.count({s.x1, s.y1}) && lit.count({s.x2, s.y2})) << "both end points";

        const int dx = s.x2 - s.x1, dy = s.y2 - s.y1;
        const bool xMajor = std::abs(dx) >= std::abs(dy);
        const int steps = std::max(std::abs(dx), std::abs(dy));
        ASSERT_EQ((int) lit.size(), steps + 1) << "one pixel per step";
        for (auto [x, y] : lit)
        {
            // Exactly one pixel in this step, and it lies within half a pixel of the ideal line.
            const double t = steps == 0 ? 0.0 : (xMajor ? (double) (x - s.x1) / dx : (double) (y - s.y1) / dy);
            ASSERT_GE(t, 0.0);
            ASSERT_LE(t, 1.0);
            const double ideal = xMajor ? s.y1 + t * dy : s.x1 + t * dx;
            EXPECT_LE(std::fabs((xMajor ? y : x) - ideal), 0.5) << "pixel " << x << ", " << y;
        }
    }
}

TEST(RLine, AntialiasedColumnsCarryFullCoverageCentredOnTheIdealLine)
{
    // Tolerance: the coverage of a step sums to 255 within 2; its centre lies within 0.01 pixel
    // of the ideal line.
    for (const Seg& s : kSegs)
    {
        SCOPED_TRACE(::testing::Message() << s.x1 << "," << s.y1 << " - " << s.x2 << "," << s.y2);
        Filled b(16, 16, kBlack);
        RCanvas(b).Line(s.x1, s.y1, s.x2, s.y2, kWhite, 1.0f, RBlendMode::Copy, true);
        EXPECT_EQ(b.At(s.x1, s.y1), kWhite) << "first end point at full coverage";
        EXPECT_EQ(b.At(s.x2, s.y2), kWhite) << "last end point at full coverage";

        const int dx = s.x2 - s.x1, dy = s.y2 - s.y1;
        const bool xMajor = std::abs(dx) >= std::abs(dy);
        const int steps = std::max(std::abs(dx), std::abs(dy));
        int total = 0;
        for (int i = 0; i <= steps; ++i)
        {
            const int major = (xMajor ? s.x1 : s.y1) + (steps ? i * ((xMajor ? dx : dy) > 0 ? 1 : -1) : 0);
            const double t = steps ? (double) i / steps : 0.0;
            const double ideal = xMajor ? s.y1 + t * dy : s.x1 + t * dx;
            double sum = 0, moment = 0;
            for (int minor = 0; minor < 16; ++minor)
            {
                const int v = RRed(xMajor ? b.At(major, minor) : b.At(minor, major));
                sum += v;
                moment += v * (double) minor;
            }
            total += (int) sum;
            EXPECT_NEAR(sum, 255.0, 2.0) << "step " << i;
            EXPECT_NEAR(moment / sum, ideal, 0.01) << "step " << i;
        }
        EXPECT_NEAR(total, 255 * (steps + 1), 2 * (steps + 1)) << "nothing beside the steps";
    }
}

TEST(RLine, EveryPixelIsBlendedOnce)
{
    // Additive drawing shows a pixel drawn twice: it would reach 2 × 64.
    for (bool aa : {false, true})
        for (const Seg& s : kSegs)
        {
            Filled b(16, 16, kBlack);
            RCanvas(b).Line(s.x1, s.y1, s.x2, s.y2, 0x40FFFFFF, 1.0f, RBlendMode::Add, aa);
            int most = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    most = std::max(most, RRed(b.At(x, y)));
            EXPECT_EQ(most, 64) << s.x1 << "," << s.y1 << " - " << s.x2 << "," << s.y2 << (aa ? " antialiased" : "");
        }
}

TEST(RLine, WeightScalesTheLine)
{
    Filled b(8, 8, kBlack);
    RCanvas(b).Line(1, 1, 6, 1, kWhite, 0.5f, RBlendMode::Copy, false);
    EXPECT_TRUE(Near(b.At(3, 1), 0xFF808080));
    RCanvas(b).Line(1, 3, 6, 3, 0xFFFF0000, 0.0f, RBlendMode::Copy, true);
    EXPECT_EQ(b.At(3, 3), kBlack);
}

TEST(RLine, EndPointsAnywhereDrawOnlyInsideTheClip)
{
    // The clip (4, 4, 28, 28) of a 32 × 32 black bitmap; expected: the visible pixels of lines
    // that cross it, and nothing outside it.
    struct Case
    {
        Seg s;
        int crossing; // 0: no check; 1: the row y = 10 across the clip; 2: the diagonal x = y
    };
    const Case cases[] = {
        {{-1000000000, 10, 1000000000, 10}, 1},
        {{INT_MIN, 10, INT_MAX, 10}, 1},
        {{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30}, 2},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 2},
        {{INT_MAX, INT_MAX, INT_MIN, INT_MIN}, 2},
        {{INT_MIN, INT_MAX, INT_MAX, INT_MIN}, 0},
        {{INT_MAX, INT_MAX, INT_MAX, INT_MAX}, 0},
        {{INT_MIN, 0, INT_MIN, INT_MAX}, 0},
        {{-5, -100, 40, 900}, 0},
        {{16, -300000000, 17, 300000000}, 0},
        {{3, 3, 3, 3}, 0},
        {{-100, 31, 100, 31}, 0},
    };
    constexpr RPixel kMark = 0xFF000000;
    for (const Case& c : cases)
        for (bool aa : {false, true})
        {
            SCOPED_TRACE(::testing::Message() << c.s.x1 << "," << c.s.y1 << " - " << c.s.x2 << "," << c.s.y2
                                              << (aa ? " antialiased" : ""));
            Filled b(32, 32, kMark);
            RCanvas canvas(b);
            canvas.SetClip(RRect{4, 4, 28, 28});
            canvas.Line(c.s.x1, c.s.y1, c.s.x2, c.s.y2, kWhite, 1.0f, RBlendMode::Copy, aa);
            EXPECT_FALSE(ChangedOutside(b, 4, 4, 28, 28, kMark));
            for (int i = 4; i < 28; ++i)
            {
                if (c.crossing == 1)
                {
                    EXPECT_EQ(b.At(i, 10), kWhite) << "x " << i;
                }
                if (c.crossing == 2)
                {
                    // A cut line may move by one pixel.
                    const int near = RRed(b.At(i, i)) + RRed(b.At(i, i - 1)) + RRed(b.At(i, i + 1));
                    EXPECT_GE(near, 254) << "x " << i;
                }
            }
        }
}
