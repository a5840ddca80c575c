// SPDX-License-Identifier: GPL-3.0-or-later
#include "Controls.h"

#include "Parts.h"
#include "StrokeFont.h"

namespace art {

namespace {
Point CentreOf(int width, int height) { return {width * 0.5, height * 0.5}; }
} // namespace

void BandKnob(double s, int width, int height, Colour colour, const Emit& emit)
{
    const Point c = CentreOf(width, height);
    Canvas base(width, height);
    KnobTrack(base, c, s);
    KnobBody(base, c, s);
    const Colour pointer = Mix(colour, Rgb(255, 255, 255), 0.55);
    for (int i = 0; i < 240; ++i) {
        const double angle = kKnobMin + (kKnobMax - kKnobMin) * i / 239.0;
        Canvas frame = base;
        KnobArc(frame, c, s, angle, colour);
        KnobPointer(frame, c, s, angle, pointer);
        emit(frame);
    }
}

void SlopeKnob(double s, int width, int height, bool mirrored, const Emit& emit)
{
    const Point c = CentreOf(width, height);
    Canvas base(width, height);
    KnobBody(base, c, s);
    for (int i = 0; i < 8; ++i) {
        const double angle = mirrored ? -180.0 * (7 - i) / 7.0 : 180.0 * i / 7.0;
        Canvas frame = base;
        KnobPointer(frame, c, s, angle, palette::kText);
        emit(frame);
    }
}

void SwitchButton(double s, int width, int height, const char* text, Colour colour, const Emit& emit)
{
    for (int on = 0; on < 2; ++on) {
        Canvas frame(width, height);
        ButtonFace(frame, 0.0, 0.0, width, height, s, text, on ? ButtonLook::On : ButtonLook::Off, colour);
        emit(frame);
    }
}

void SizeButton(double s, int width, int height, const Emit& emit)
{
    for (const char* text : {"TINY", "LARGE", "HUGE"}) {
        Canvas frame(width, height);
        ButtonFace(frame, 0.0, 0.0, width, height, s, text, ButtonLook::Plain, Colour());
        emit(frame);
    }
}

void ShelfSwitch(double s, int width, int height, const Emit& emit)
{
    const double cx = width * 0.5, cy = height * 0.5;
    const double travel = 5.0 * s, lw = 4.0 * s, lh = height * 0.5 - 0.5 * s;
    for (int right = 0; right < 2; ++right) {
        Canvas frame(width, height);
        FillRoundRect(frame, cx - travel - lw - 1.0 * s, cy - 2.5 * s, cx + travel + lw + 1.0 * s, cy + 2.5 * s,
                      2.5 * s, Solid(palette::kWell));
        const double lx = cx + (right ? travel : -travel);
        SoftRoundRect(frame, lx - lw, cy - lh + 1.0 * s, lx + lw, cy + lh + 0.5 * s, 2.0 * s, 1.0 * s,
                      Rgb(0, 0, 0, 0.5));
        FillRoundRect(frame, lx - lw, cy - lh, lx + lw, cy + lh, 2.0 * s, Solid(Rgb(8, 8, 10)));
        FillRoundRect(frame, lx - lw + 1.0, cy - lh + 1.0, lx + lw - 1.0, cy + lh - 1.0, 2.0 * s - 1.0,
                      VerticalGradient(cy - lh, Rgb(122, 125, 132), cy + lh, Rgb(58, 60, 65)));
        FillRoundRect(frame, lx - 0.5 * s, cy - lh + 2.5 * s, lx + 0.5 * s, cy + lh - 2.5 * s, 0.0,
                      Solid(Rgb(30, 31, 34, 0.8)));
        emit(frame);
    }
}

void NumberGlyphs(double, int width, int height, const Emit& emit)
{
    const FontMetrics m = NumberFont(width, height);
    for (const char* g : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "k", "-", "."}) {
        Canvas frame(width, height);
        DrawText(frame, g, m.gap / 2, 0, m, palette::kGlyph);
        emit(frame);
    }
}

} // namespace art
