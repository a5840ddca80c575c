// SPDX-License-Identifier: GPL-3.0-or-later
#include "Sheets.h"

#include "Layout.h"
#include "Parts.h"
#include "StrokeFont.h"

#include <algorithm>

namespace art {

namespace {

const Colour kSheet = Rgb(30, 31, 34);

int Index(const std::string& name)
{
    const auto& images = Images();
    for (size_t i = 0; i < images.size(); ++i)
        if (images[i].name == name)
            return (int) i;
    return -1;
}

struct Strip
{
    const RMemBitmap* bitmap;
    int frames;

    int FrameHeight() const { return bitmap->Height() / frames; }
    // The frame's top row as the editor finds it, (int) (H * i / n + 0.5).
    int EditorTop(int frame) const { return (int) ((double) bitmap->Height() * frame / frames + 0.5); }
};

Strip StripOf(const RenderedSet& rendered, int scale, const std::string& name)
{
    const int i = Index(name);
    return {rendered[scale][i].get(), Images()[i].frames};
}

void DrawFrame(Canvas& cv, const Strip& strip, int frame, int x, int y)
{
    const int top = strip.EditorTop(frame);
    cv.Over(*strip.bitmap, 0, top, strip.bitmap->Width(), strip.FrameHeight(), x, y);
}

// One scale's column of the contact sheet; returns its height.
int SheetColumn(Canvas& cv, const RenderedSet& rendered, int scale, int x, int y)
{
    const double s = ScaleOf(scale);
    const int gap = (int) (6 * s);
    const char* captions[] = {"SCALE 1.0", "SCALE 1.5", "SCALE 2.0"};
    DrawText(cv, captions[scale], x, y, LabelFont(2.0), palette::kText);
    y += 20 + gap;
    const RMemBitmap& bg = *rendered[scale][Index("Background")];
    cv.Over(bg, 0, 0, bg.Width(), bg.Height(), x, y);
    y += bg.Height() + 2 * gap;
    auto row = [&](const Strip& strip, const int* frames, int n) {
        for (int i = 0; i < n; ++i)
            DrawFrame(cv, strip, frames[i], x + i * (strip.bitmap->Width() + gap), y);
        y += strip.FrameHeight() + gap;
    };
    const int knobFrames[] = {0, 34, 68, 102, 136, 170, 204, 239};
    for (const char* k : {"red", "yellow", "green", "blue", "grey"})
        row(StripOf(rendered, scale, k), knobFrames, 8);
    const int eight[] = {0, 1, 2, 3, 4, 5, 6, 7};
    row(StripOf(rendered, scale, "hicutorder"), eight, 8);
    row(StripOf(rendered, scale, "locutorder"), eight, 8);
    y += gap;
    for (int on = 0; on < 2; ++on) {
        int bx = x;
        for (const char* b : {"lowbutton", "lomidbutton", "himidbutton", "highbutton", "hpbutton", "lpbutton"}) {
            const Strip strip = StripOf(rendered, scale, b);
            DrawFrame(cv, strip, on, bx, y);
            bx += strip.bitmap->Width() + gap;
        }
        y += StripOf(rendered, scale, "lowbutton").FrameHeight() + gap;
    }
    const Strip size = StripOf(rendered, scale, "sizebutton"), shelf = StripOf(rendered, scale, "shelfswitch");
    int bx = x;
    for (int f = 0; f < 3; ++f, bx += size.bitmap->Width() + gap)
        DrawFrame(cv, size, f, bx, y);
    for (int f = 0; f < 2; ++f, bx += shelf.bitmap->Width() + gap)
        DrawFrame(cv, shelf, f, bx, y);
    y += std::max(size.FrameHeight(), shelf.FrameHeight()) + 2 * gap;
    const Strip font = StripOf(rendered, scale, "font");
    for (int f = 0; f < 13; ++f)
        DrawFrame(cv, font, f, x + f * (font.bitmap->Width() + 2), y);
    return y + font.FrameHeight();
}

std::unique_ptr<RMemBitmap> ToBitmap(const Canvas& cv)
{
    auto out = std::make_unique<RMemBitmap>(cv.Width(), cv.Height());
    cv.CopyTo(*out, 0, 0);
    return out;
}

// Prints a number on the font strip's glyphs, centred in r as the editor does.
void DrawNumber(Canvas& cv, const Strip& font, const std::string& text, const Rect& r)
{
    const int gw = font.bitmap->Width(), gh = font.FrameHeight();
    int x = r.left + (r.Width() - (int) text.size() * gw) / 2;
    const int y = r.top + (r.Height() - gh) / 2;
    for (char ch : text) {
        int f = ch >= '0' && ch <= '9' ? ch - '0' : ch == 'k' ? 10 : ch == '-' ? 11 : ch == '.' ? 12 : -1;
        if (f >= 0)
            DrawFrame(cv, font, f, x, y);
        x += gw;
    }
}

void Mockup(Canvas& cv, const RenderedSet& rendered, int scale, int ox, int oy)
{
    const double s = ScaleOf(scale);
    const RMemBitmap& bg = *rendered[scale][Index("Background")];
    cv.Over(bg, 0, 0, bg.Width(), bg.Height(), ox, oy);
    const Strip font = StripOf(rendered, scale, "font");
    auto at = [&](const Strip& strip, int frame, int x, int y) { DrawFrame(cv, strip, frame, ox + x, oy + y); };
    auto number = [&](const std::string& t, Rect r) {
        r.left += ox, r.right += ox, r.top += oy, r.bottom += oy;
        DrawNumber(cv, font, t, r);
    };
    const char* knobs[] = {"red", "yellow", "green", "blue"};
    const char* buttons[] = {"lowbutton", "lomidbutton", "himidbutton", "highbutton"};
    const int freq[] = {40, 95, 150, 205}, q[] = {60, 120, 90, 70}, gain[] = {150, 119, 80, 180};
    const char* texts[4][3] = {{"80", "0.71", "3.5"}, {"420", "1.20", "0.0"}, {"2.50k", "0.90", "-4.0"},
                               {"12.0k", "0.71", "6.0"}};
    for (int b = 0; b < 4; ++b) {
        const Strip knob = StripOf(rendered, scale, knobs[b]);
        const int kx = GridX(s, BandKnobColumn(b)), nx = BandNumberColumn(b);
        at(knob, freq[b], kx, GridY(s, kRowFreq));
        at(knob, q[b], kx, GridY(s, kRowQ));
        at(knob, gain[b], kx, GridY(s, kRowGain));
        number(texts[b][0], NumberRect(s, nx, kRowFreqNum));
        number(texts[b][1], NumberRect(s, nx, kRowQNum));
        number(texts[b][2], NumberRect(s, nx, kRowGainNum));
        at(StripOf(rendered, scale, buttons[b]), b != 1 ? 1 : 0, GridX(s, nx), GridY(s, kRowButtons));
    }
    const Strip grey = StripOf(rendered, scale, "grey");
    at(grey, 30, GridX(s, 1), GridY(s, kRowCutKnob));
    at(grey, 200, GridX(s, 8), GridY(s, kRowCutKnob));
    number("30", NumberRect(s, 0, kRowCutNum));
    number("18.0k", NumberRect(s, 7, kRowCutNum));
    // High-pass at 12 dB/oct: reversed strip, order 1 shows frame 6; low-pass at 24: frame 3.
    at(StripOf(rendered, scale, "locutorder"), 6, GridX(s, 3), GridY(s, kRowSlope));
    at(StripOf(rendered, scale, "hicutorder"), 3, GridX(s, 6), GridY(s, kRowSlope));
    at(StripOf(rendered, scale, "hpbutton"), 1, GridX(s, 0), GridY(s, kRowCutButton));
    at(StripOf(rendered, scale, "lpbutton"), 0, GridX(s, 7), GridY(s, kRowCutButton));
    // Low shelf on (reversed switch: frame 0), high shelf off (frame 0).
    const Strip shelf = StripOf(rendered, scale, "shelfswitch");
    at(shelf, 0, GridX(s, 0), GridY(s, kRowShelf));
    at(shelf, 0, GridX(s, 7), GridY(s, kRowShelf));
    at(StripOf(rendered, scale, "sizebutton"), scale, GridX(s, 4), GridY(s, kRowCutButton));
}

} // namespace

std::unique_ptr<RMemBitmap> ContactSheet(const RenderedSet& rendered)
{
    const int margin = 24;
    int widths[kScaleCount], total = margin;
    for (int sc = 0; sc < kScaleCount; ++sc) {
        const double s = ScaleOf(sc);
        widths[sc] = std::max(rendered[sc][Index("Background")]->Width(), 8 * (KnobSize(s) + (int) (6 * s)));
        total += widths[sc] + margin;
    }
    // Measure first by drawing into a tall canvas, then crop.
    Canvas tall(total, 4000);
    tall.Paint(Box{0, 0, total, 4000}, [](double, double) { return 1.0; }, Solid(kSheet));
    int x = margin, bottom = 0;
    for (int sc = 0; sc < kScaleCount; ++sc) {
        bottom = std::max(bottom, SheetColumn(tall, rendered, sc, x, margin));
        x += widths[sc] + margin;
    }
    auto full = ToBitmap(tall);
    auto out = std::make_unique<RMemBitmap>(total, bottom + margin);
    for (int y = 0; y < out->Height(); ++y)
        std::copy(full->Row(y), full->Row(y) + total, out->Row(y));
    return out;
}

std::unique_ptr<RMemBitmap> EditorMockup(const RenderedSet& rendered)
{
    const int margin = 16;
    int total = margin, height = 0;
    for (int sc = 0; sc < kScaleCount; ++sc) {
        total += rendered[sc][Index("Background")]->Width() + margin;
        height = std::max(height, rendered[sc][Index("Background")]->Height());
    }
    Canvas cv(total, height + 2 * margin);
    cv.Paint(Box{0, 0, cv.Width(), cv.Height()}, [](double, double) { return 1.0; }, Solid(kSheet));
    int x = margin;
    for (int sc = 0; sc < kScaleCount; ++sc) {
        Mockup(cv, rendered, sc, x, margin);
        x += rendered[sc][Index("Background")]->Width() + margin;
    }
    return ToBitmap(cv);
}

} // namespace art
