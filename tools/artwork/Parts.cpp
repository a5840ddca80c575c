// SPDX-License-Identifier: GPL-3.0-or-later
#include "Parts.h"

#include "StrokeFont.h"

#include <algorithm>
#include <vector>

namespace art {

namespace {
// Knob geometry at scale 1.0, radii from the centre of a 28-pixel frame.
constexpr double kRingRadius = 12.0, kRingWidth = 2.0;
constexpr double kBodyRadius = 9.6, kFaceRadius = 7.4;
constexpr double kPointerInner = 2.6, kPointerOuter = 8.7, kPointerWidth = 1.8;
} // namespace

void KnobBody(Canvas& cv, Point c, double s)
{
    const double rb = kBodyRadius * s, rf = kFaceRadius * s;
    SoftCircle(cv, {c.x, c.y + 1.3 * s}, rb - 0.2 * s, 1.5 * s, Rgb(0, 0, 0, 0.6));
    FillCircle(cv, c, rb, VerticalGradient(c.y - rb, Rgb(128, 131, 138), c.y + rb, Rgb(28, 29, 32)));
    StrokeCircle(cv, c, rb - 0.35, 0.7, Solid(Rgb(0, 0, 0, 0.45)));
    FillCircle(cv, c, rf, VerticalGradient(c.y - rf, Rgb(50, 52, 57), c.y + rf, Rgb(74, 76, 82)));
    // The face's rim catches the light at the top and falls into shade at the bottom.
    StrokeArc(cv, c, rf - 0.4, -70.0, 70.0, 0.8, Solid(Rgb(255, 255, 255, 0.10)));
    StrokeArc(cv, c, rf + 0.3, 110.0, 250.0, 0.8, Solid(Rgb(0, 0, 0, 0.25)));
}

void KnobTrack(Canvas& cv, Point c, double s)
{
    StrokeArc(cv, c, kRingRadius * s, kKnobMin, kKnobMax, kRingWidth * s, Solid(Rgb(10, 11, 13, 0.95)));
}

void KnobArc(Canvas& cv, Point c, double s, double angle, Colour colour)
{
    StrokeArc(cv, c, kRingRadius * s, kKnobMin, angle, kRingWidth * s - 0.4, Solid(colour));
}

void KnobPointer(Canvas& cv, Point c, double s, double angle, Colour colour)
{
    const Point a = Polar(c, kPointerInner * s, angle), b = Polar(c, kPointerOuter * s, angle);
    StrokeSegment(cv, {a.x, a.y + 0.5 * s}, {b.x, b.y + 0.5 * s}, kPointerWidth * s, Solid(Rgb(0, 0, 0, 0.35)));
    StrokeSegment(cv, a, b, kPointerWidth * s, Solid(colour));
}

void ButtonFace(Canvas& cv, double x0, double y0, double x1, double y1, double s, const std::string& text,
                ButtonLook look, Colour colour)
{
    const bool on = look == ButtonLook::On;
    const double r = 2.5 * s;
    FillRoundRect(cv, x0, y0, x1, y1, r, Solid(Rgb(8, 8, 10)));
    const double e = 1.0;
    Colour top = Rgb(86, 89, 95), bottom = Rgb(54, 56, 61);
    if (on) {
        top = Mix(Rgb(50, 52, 56), colour, 0.30);
        bottom = Mix(Rgb(34, 35, 38), colour, 0.22);
    }
    FillRoundRect(cv, x0 + e, y0 + e, x1 - e, y1 - e, r - e, VerticalGradient(y0 + e, top, y1 - e, bottom));
    FillRoundRect(cv, x0 + e, y0 + e, x1 - e, y0 + e + 1.0, 0.0, Solid(Rgb(255, 255, 255, on ? 0.10 : 0.16)));
    const FontMetrics m = LabelFont(s);
    const double cx = (x0 + x1) * 0.5, cy = (y0 + y1) * 0.5;
    if (on) {
        const double w = TextWidth(text, m) * 0.5 + 2.0 * s, h = TextHeight(m) * 0.5 + 1.5 * s;
        SoftRoundRect(cv, cx - w, cy - h, cx + w, cy + h, h, 1.5 * s, WithAlpha(colour, 0.22));
        DrawTextCentred(cv, text, cx, cy, m, Mix(colour, Rgb(255, 255, 255), 0.55));
    } else {
        DrawTextCentred(cv, text, cx, cy, m, look == ButtonLook::Off ? palette::kTextOff : palette::kText);
    }
}

void Recess(Canvas& cv, const Rect& r, double grow, double s)
{
    const double x0 = r.left - grow, y0 = r.top - grow, x1 = r.right + grow, y1 = r.bottom + grow;
    const double rad = 2.0 * s;
    FillRoundRect(cv, x0 - 1.0, y0 - 1.0, x1 + 1.0, y1 + 1.0, rad + 1.0,
                  VerticalGradient(y0, Rgb(0, 0, 0, 0.35), y1, Rgb(255, 255, 255, 0.10)));
    FillRoundRect(cv, x0, y0, x1, y1, rad, Solid(palette::kWell));
    // Shade inside the upper edge, as the recess's wall hides the light.
    cv.Paint(BoundsOf(x0, y0, x1, y1),
             [&](double px, double py) {
                 const double d = RoundRectDistance(px, py, x0, y0, x1, y1, rad);
                 return EdgeCoverage(d) * Clamp01(1.0 - (py - y0) / (2.0 * s)) * 0.8;
             },
             Solid(Rgb(0, 0, 0)));
}

void Label(Canvas& cv, const std::string& text, double cx, double cy, double s, Colour colour)
{
    DrawTextCentred(cv, text, cx, cy, LabelFont(s), colour);
}

void ScaleMarks(Canvas& cv, Point c, double s, const double* angles, const char* const* texts, int n)
{
    const FontMetrics m = LabelFont(s);
    const double r0 = 11.4 * s, r1 = 14.0 * s, rt = 22.5 * s;
    for (int i = 0; i < n; ++i) {
        StrokeSegment(cv, Polar(c, r0, angles[i]), Polar(c, r1, angles[i]), 1.0 * s, Solid(palette::kScale));
        const Point t = Polar(c, rt, angles[i]);
        DrawTextCentred(cv, texts[i], t.x, t.y, m, palette::kLabel);
    }
}

void ShelfSymbol(Canvas& cv, double x0, double y0, double x1, double y1, double s, bool risesLeft)
{
    std::vector<Point> pts;
    const int n = 16;
    for (int i = 0; i <= n; ++i) {
        const double t = (double) i / n;
        const double v = SmoothStep(0.25, 0.75, t);
        pts.push_back({Mix(x0, x1, t), risesLeft ? Mix(y0, y1, v) : Mix(y1, y0, v)});
    }
    StrokePolyline(cv, pts.data(), (int) pts.size(), 1.0 * s, Solid(palette::kLabel));
}

void BellSymbol(Canvas& cv, double x0, double y0, double x1, double y1, double s)
{
    std::vector<Point> pts;
    const int n = 20;
    for (int i = 0; i <= n; ++i) {
        const double t = (double) i / n;
        const double u = Clamp((t - 0.5) / 0.32, -1.0, 1.0);
        double sn, cs;
        SinCos(u * kPi, sn, cs);
        pts.push_back({Mix(x0, x1, t), Mix(y1, y0, (1.0 + cs) * 0.5)});
    }
    StrokePolyline(cv, pts.data(), (int) pts.size(), 1.0 * s, Solid(palette::kLabel));
}

} // namespace art
