// SPDX-License-Identifier: GPL-3.0-or-later
// Text drawn white on black, checked by the box of its lit pixels against the box it was given
// and its measured size. Faces differ between machines, so positions are checked to a few
// pixels (stated at each check), never glyph shapes.
#include "RFont.h"
#include "RasterTestUtil.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace
{
constexpr RPixel kBlack = 0xFF000000;

struct Ink
{
    int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN; // lit pixels, r and b exclusive
    int most = 0;                                           // highest red value
    bool any() const { return r > l; }
};

Ink InkOf(const RBitmap& bmp)
{
    Ink ink;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
        {
            const int v = RRed(bmp.At(x, y));
            if (v == 0)
                continue;
            ink.l = std::min(ink.l, x), ink.r = std::max(ink.r, x + 1);
            ink.t = std::min(ink.t, y), ink.b = std::max(ink.b, y + 1);
            ink.most = std::max(ink.most, v);
        }
    return ink;
}

std::unique_ptr<RFont> MakeFont(int height = 12, int weight = 400, RFontQuality q = RFontQuality::Default,
                                int orientation = 0)
{
    RFontSpec spec;
    spec.height = height;
    spec.weight = weight;
    spec.quality = q;
    spec.orientation = orientation;
    auto font = RFont::Create(spec);
    if (font)
        font->SetColour(0xFFFFFFFF);
    return font;
}

const char* const kText = "Parvel 1k -24";
} // namespace

TEST(RFont, VerdanaOrItsFallbackMeasuresTheCellHeight)
{
    for (int height : {7, 12, 24})
    {
        auto font = MakeFont(height);
        ASSERT_TRUE(font) << "height " << height;
        int w = 0, h = 0;
        font->Measure(kText, w, h);
        EXPECT_EQ(h, height);
        // Some 13 glyphs of a sans face: between a quarter and a whole cell height each.
        EXPECT_GT(w, 13 * height / 4);
        EXPECT_LT(w, 13 * height);
        int w2 = 0;
        font->Measure("", w2, h);
        EXPECT_EQ(w2, 0);
    }
    EXPECT_FALSE(MakeFont(0));
    EXPECT_FALSE(MakeFont(-12));
    EXPECT_FALSE(MakeFont(5000));
}

TEST(RFont, TextSitsInItsBoxByAlignment)
{
    auto font = MakeFont(12);
    ASSERT_TRUE(font);
    int w = 0, h = 0;
    font->Measure(kText, w, h);
    const RRect box{30, 10, 170, 26};
    // Tolerance: ink starts within 2 pixels of where the advance says (side bearings), stays in
    // the cell vertically, and is no wider than the advance plus 1.
    for (RTextAlign align : {RTextAlign::Left, RTextAlign::Centre, RTextAlign::Right})
    {
        SCOPED_TRACE((int) align);
        Filled bmp(200, 40, kBlack);
        RCanvas canvas(bmp);
        font->Draw(canvas, kText, box, align, false, false);
        const Ink ink = InkOf(bmp);
        ASSERT_TRUE(ink.any());
        const int start = align == RTextAlign::Left ? box.l : align == RTextAlign::Right ? box.r - w : box.l + (box.W() - w) / 2;
        EXPECT_GE(ink.l, start - 1);
        EXPECT_LE(ink.l, start + 2);
        EXPECT_LE(ink.r, start + w + 1);
        EXPECT_GE(ink.r, start + w - 3);
        EXPECT_GE(ink.t, box.t);
        EXPECT_LE(ink.b, box.t + h);
        EXPECT_GE(ink.b - ink.t, h / 2) << "glyphs of a cell's height";
        EXPECT_EQ(ink.most, 255);
    }
}

TEST(RFont, ClipToBoxAndTheCanvasClip)
{
    auto font = MakeFont(16);
    ASSERT_TRUE(font);
    const RRect narrow{20, 10, 40, 18}; // narrower and lower than the text
    Filled unclipped(200, 40, kBlack), clipped(200, 40, kBlack), canvasClipped(200, 40, kBlack);
    {
        RCanvas c(unclipped);
        font->Draw(c, kText, narrow, RTextAlign::Left, false, false);
    }
    {
        RCanvas c(clipped);
        font->Draw(c, kText, narrow, RTextAlign::Left, true, false);
        EXPECT_EQ(c.Clip().r, 200) << "the canvas clip is restored";
    }
    {
        RCanvas c(canvasClipped);
        c.SetClip(RRect{0, 0, 30, 40});
        font->Draw(c, kText, narrow, RTextAlign::Left, false, false);
    }
    EXPECT_GT(InkOf(unclipped).r, narrow.r + 20) << "unclipped text runs past its box";
    EXPECT_GT(InkOf(unclipped).b, narrow.b);
    EXPECT_TRUE(InkOf(clipped).any());
    EXPECT_FALSE(ChangedOutside(clipped, narrow.l, narrow.t, narrow.r, narrow.b, kBlack));
    EXPECT_TRUE(InkOf(canvasClipped).any());
    EXPECT_FALSE(ChangedOutside(canvasClipped, 0, 0, 30, 40, kBlack));
}

TEST(RFont, TextFarOutsideDrawsNothingOutsideTheClip)
{
    auto font = MakeFont(12);
    auto turned = MakeFont(12, 400, RFontQuality::Default, 90);
    ASSERT_TRUE(font && turned);
    const RRect boxes[] = {
        {INT_MIN, INT_MIN, INT_MIN + 10, INT_MIN + 10}, {INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX},
        {INT_MIN, 5, INT_MAX, 20},                      {-1000, -1000, -900, -990},
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX},           {5, INT_MAX - 3, 100, INT_MAX},
        {-60, 3, 2, 20},                                {30, -8, 60, 0},
    };
    std::string longText(5000, 'W');
    for (const RRect& box : boxes)
        for (RTextAlign align : {RTextAlign::Left, RTextAlign::Centre, RTextAlign::Right})
            for (RFont* f : {font.get(), turned.get()})
                for (const char* text : {kText, longText.c_str()})
                {
                    Filled bmp(64, 32, kBlack);
                    RCanvas canvas(bmp);
                    canvas.SetClip(RRect{4, 4, 60, 28});
                    f->Draw(canvas, text, box, align, false, false);
                    EXPECT_FALSE(ChangedOutside(bmp, 4, 4, 60, 28, kBlack))
                        << box.l << "," << box.t << "," << box.r << "," << box.b << " align " << (int) align;
                }
}

TEST(RFont, ColourAlphaOnlyWhenAsked)
{
    auto font = MakeFont(16);
    ASSERT_TRUE(font);
    font->SetColour(0x80FFFFFF);
    Filled withAlpha(120, 24, kBlack), opaque(120, 24, kBlack);
    RCanvas a(withAlpha), o(opaque);
    font->Draw(a, "HHHH", RRect{0, 0, 120, 24}, RTextAlign::Left, false, true);
    font->Draw(o, "HHHH", RRect{0, 0, 120, 24}, RTextAlign::Left, false, false);
    EXPECT_NEAR(InkOf(withAlpha).most, 128, 1);
    EXPECT_EQ(InkOf(opaque).most, 255);
}

TEST(RFont, QualityWeightAndOrientation)
{
    auto plain = MakeFont(16, 400, RFontQuality::NoAntialias);
    auto bold = MakeFont(16, 700);
    auto regular = MakeFont(16, 400);
    auto turned = MakeFont(16, 400, RFontQuality::Default, 90);
    ASSERT_TRUE(plain && bold && regular && turned);

    Filled b(200, 40, kBlack);
    RCanvas c(b);
    plain->Draw(c, kText, RRect{0, 0, 200, 40}, RTextAlign::Left, false, false);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_TRUE(b.At(x, y) == kBlack || b.At(x, y) == 0xFFFFFFFF) << "one-bit glyphs only";

    int wBold = 0, wRegular = 0, h = 0;
    bold->Measure(kText, wBold, h);
    regular->Measure(kText, wRegular, h);
    EXPECT_GT(wBold, wRegular);

    // Turned 90 degrees counter-clockwise, the text runs upward from its reference point, the
    // cell's top on the left.
    int w = 0;
    turned->Measure(kText, w, h);
    Filled t(40, 200, kBlack);
    RCanvas tc(t);
    turned->Draw(tc, kText, RRect{10, 190, 30, 200}, RTextAlign::Left, false, false);
    const Ink ink = InkOf(t);
    ASSERT_TRUE(ink.any());
    EXPECT_GT(ink.b - ink.t, 2 * (ink.r - ink.l));
    EXPECT_NEAR(ink.b, 190, 3);
    EXPECT_NEAR(ink.t, 190 - w, 3);
    EXPECT_GE(ink.l, 10);
    EXPECT_LE(ink.r, 10 + h);
}
