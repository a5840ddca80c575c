// SPDX-License-Identifier: GPL-3.0-or-later
// The four blend modes and the weight on known pixels, through both ways a colour reaches the
// target (a blit and a filled rectangle), and the clipping of blits, rectangles and masks.
// Tolerance: 1 per channel (weights and coverages are held in steps of 1/255).
#include "RCanvas.h"
#include "RasterTestUtil.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace
{
struct BlendCase
{
    const char* what;
    RBlendMode mode;
    RPixel dst, src;
    float weight;
    RPixel expected;
};

const BlendCase kBlendCases[] = {
    {"copy takes all four channels", RBlendMode::Copy, 0xFF102030, 0x80C0A060, 1.0f, 0x80C0A060},
    {"copy at weight 0.25, alpha mixed too", RBlendMode::Copy, 0xFF000000, 0x00FFFFFF, 0.25f, 0xBF404040},
    {"alpha: half-transparent white on black", RBlendMode::Alpha, 0xFF000000, 0x80FFFFFF, 1.0f, 0xFF808080},
    {"alpha at weight 0.5", RBlendMode::Alpha, 0xFF0000FF, 0xFFFF0000, 0.5f, 0xFF800080},
    {"alpha onto transparent keeps the colour", RBlendMode::Alpha, 0x00000000, 0x80FF0000, 1.0f, 0x80FF0000},
    {"alpha over half-transparent", RBlendMode::Alpha, 0x800000FF, 0x80FF0000, 1.0f, 0xC0AA0055},
    {"alpha, transparent source", RBlendMode::Alpha, 0xFF123456, 0x00FFFFFF, 1.0f, 0xFF123456},
    {"add with source alpha", RBlendMode::Add, 0xFF10D0F0, 0x80604020, 1.0f, 0xFF40F0FF},
    {"add at weight 0.5", RBlendMode::Add, 0xFF204060, 0xFF808080, 0.5f, 0xFF6080A0},
    {"add saturates", RBlendMode::Add, 0xFF80C0F0, 0xFFFFFFFF, 1.0f, 0xFFFFFFFF},
    {"dodge", RBlendMode::Dodge, 0xFF404040, 0xFF808080, 1.0f, 0xFF808080},
    {"dodge at weight 0.5", RBlendMode::Dodge, 0xFF404040, 0xFF808080, 0.5f, 0xFF555555},
    {"dodge by white saturates", RBlendMode::Dodge, 0xFF404040, 0xFFFFFFFF, 1.0f, 0xFFFFFFFF},
    {"dodge leaves black black", RBlendMode::Dodge, 0xFF000000, 0xFFFFFFFF, 1.0f, 0xFF000000},
    {"weight 0 changes nothing", RBlendMode::Copy, 0xFF123456, 0xFFFFFFFF, 0.0f, 0xFF123456},
    {"NaN weight changes nothing", RBlendMode::Alpha, 0xFF123456, 0xFFFFFFFF, std::numeric_limits<float>::quiet_NaN(),
     0xFF123456},
    {"weight above 1 counts as 1", RBlendMode::Copy, 0xFF123456, 0x80ABCDEF, 7.0f, 0x80ABCDEF},
};

} // namespace

TEST(RBlend, ModesAndWeightsOnKnownPixels)
{
    for (const BlendCase& c : kBlendCases)
    {
        SCOPED_TRACE(c.what);
        Filled viaBlit(1, 1, c.dst), viaFill(1, 1, c.dst), src(1, 1, c.src);
        RCanvas(viaBlit).Blit(src, 0, 0, 1, 1, 0, 0, c.mode, c.weight);
        RCanvas(viaFill).FillRect(0, 0, 1, 1, c.src, c.weight, c.mode);
        EXPECT_TRUE(Near(viaBlit.At(0, 0), c.expected)) << "blit";
        EXPECT_TRUE(Near(viaFill.At(0, 0), c.expected)) << "fill";
    }
}

TEST(RBlend, BlitClipsToSourceClipAndTarget)
{
    // The source's pixels carry their coordinates; the target starts at a marker colour.
    RMemBitmap src(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            src.Row(y)[x] = RPack(255, 100 + x, 200 + y, 7);
    constexpr RPixel kMark = 0xFF010101;
    struct Case
    {
        int sx, sy, w, h, dx, dy;
    };
    const Case cases[] = {
        {0, 0, 4, 3, 1, 1},          {-2, -1, 9, 9, 0, 0},          {1, 1, 2, 2, -1, 4},
        {0, 0, 4, 3, 5, -2},         {3, 2, INT_MAX, INT_MAX, 2, 2}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0},
        {0, 0, 4, 3, INT_MAX, 0},    {0, 0, 4, 3, INT_MIN, INT_MIN}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX, 1, 1},
        {-3, 0, 4, 3, INT_MIN + 1, 2}, {0, 0, -4, 3, 1, 1},         {2, 0, 4, 3, 1, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.sx << "," << c.sy << " " << c.w << "x" << c.h << " -> " << c.dx << ","
                                          << c.dy);
        Filled dst(6, 6, kMark);
        RCanvas canvas(dst);
        canvas.SetClip(RRect{1, 1, 5, 6});
        canvas.Blit(src, c.sx, c.sy, c.w, c.h, c.dx, c.dy, RBlendMode::Copy, 1.0f);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
            {
                // The source pixel that belongs at (x, y), in 64 bits.
                const long long sx = (long long) c.sx + (x - (long long) c.dx);
                const long long sy = (long long) c.sy + (y - (long long) c.dy);
                const bool inRect = sx >= c.sx && sx < (long long) c.sx + c.w && sy >= c.sy && sy < (long long) c.sy + c.h;
                const bool inSrc = sx >= 0 && sx < 4 && sy >= 0 && sy < 3;
                const bool inClip = x >= 1 && x < 5 && y >= 1;
                const RPixel want = inRect && inSrc && inClip ? src.At((int) sx, (int) sy) : kMark;
                EXPECT_EQ(dst.At(x, y), want) << "at " << x << ", " << y;
            }
    }
}

TEST(RBlend, BlitOntoItselfReadsTheSourceAsItWas)
{
    for (int direction : {+2, -2})
    {
        RMemBitmap bmp(6, 2);
        for (int x = 0; x < 6; ++x)
            bmp.Row(0)[x] = bmp.Row(1)[x] = 0xFF000000u + (RPixel) x;
        RCanvas canvas(bmp);
        const int from = direction > 0 ? 0 : 2;
        canvas.Blit(bmp, from, 0, 4, 2, from + direction, 0, RBlendMode::Alpha, 1.0f);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(bmp.At(from + direction + x, 1), 0xFF000000u + (RPixel) (from + x)) << "direction " << direction;
    }
}

TEST(RBlend, RectanglesAndMasksClipToTheClip)
{
    constexpr RPixel kMark = 0xFF010101;
    Filled dst(8, 8, kMark);
    RCanvas canvas(dst);
    canvas.SetClip(RRect{-5, 2, 6, 100}); // becomes (0, 2, 6, 8)
    EXPECT_EQ(canvas.Clip().l, 0);
    EXPECT_EQ(canvas.Clip().b, 8);
    canvas.FillRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0xFF0000FF, 1.0f, RBlendMode::Copy); // ends at -2, -2
    canvas.FillRect(INT_MAX, 3, INT_MAX, 1, 0xFF0000FF, 1.0f, RBlendMode::Copy);
    canvas.FillRect(-1, 1, INT_MAX, 2, 0xFFFFFFFF, 1.0f, RBlendMode::Copy); // rows 1, 2; only row 2 visible
    const uint8_t mask[2][3] = {{0, 128, 255}, {255, 255, 255}};
    canvas.FillMask(&mask[0][0], 3, 3, 2, -1, 5, 0xFFFFFFFF, 1.0f, RBlendMode::Alpha); // columns 1, 2 of the mask
    canvas.FillMask(&mask[0][0], 3, 3, 2, INT_MAX, INT_MAX, 0xFFFFFFFF, 1.0f, RBlendMode::Alpha);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
        {
            RPixel want = kMark;
            if (y == 2 && x < 6)
                want = 0xFFFFFFFF;
            if (y == 5 && x == 0)
                want = 0xFF808080;
            if ((y == 5 && x == 1) || (y == 6 && x < 2))
                want = 0xFFFFFFFF;
            EXPECT_TRUE(Near(dst.At(x, y), want)) << "at " << x << ", " << y;
        }
}
