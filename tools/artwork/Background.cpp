// SPDX-License-Identifier: GPL-3.0-or-later
#include "Background.h"

#include "Parts.h"

#include <string>

namespace art {

namespace {

// Outer radius of a knob's ring, the topmost part of a knob frame, at scale 1.0.
constexpr double kKnobReach = 13.0;

double KnobTop(double s, const Rect& knob) { return knob.CentreY() - kKnobReach * s; }

// A label centred over a knob, halfway between the part above it and the knob's ring.
void LabelAbove(Canvas& cv, const std::string& text, const Rect& knob, double above, double s)
{
    Label(cv, text, knob.CentreX(), (above + KnobTop(s, knob)) * 0.5, s);
}

void Panel(Canvas& cv)
{
    const int w = cv.Width(), h = cv.Height();
    cv.Paint(Box{0, 0, w, h}, [](double, double) { return 1.0; },
             VerticalGradient(0.0, palette::kPanelTop, h, palette::kPanelBottom));
    // A bevel round the panel's edge.
    StrokeRoundRect(cv, 0.0, 0.0, w, h, 0.0, 1.0, Solid(Rgb(255, 255, 255, 0.06)));
}

void DisplayWell(Canvas& cv, double s)
{
    const Rect d = FrequencyDisplayRect(s);
    Recess(cv, d, 2.0 * s, s);
    FillRoundRect(cv, d.left, d.top, d.right, d.bottom, 0.0, Solid(palette::kDisplay));
}

// An engraved line one pixel wide and its lit edge, between two band columns, from y0 to y1.
void Groove(Canvas& cv, double x, double y0, double y1)
{
    const double gx = std::floor(x);
    FillRoundRect(cv, gx, y0, gx + 1.0, y1, 0.0, Solid(Rgb(0, 0, 0, 0.30)));
    FillRoundRect(cv, gx + 1.0, y0, gx + 2.0, y1, 0.0, Solid(Rgb(255, 255, 255, 0.05)));
}

void Grooves(Canvas& cv, double s)
{
    for (int b = 0; b + 1 < 4; ++b) {
        const Rect l = ButtonRect(s, BandNumberColumn(b), kRowButtons);
        const Rect r = ButtonRect(s, BandNumberColumn(b + 1), kRowButtons);
        Groove(cv, (l.right + r.left) * 0.5, l.top, NumberRect(s, 0, kRowGainNum).bottom);
    }
}

constexpr double kSlotMargin = 1.0; // round a number display, at scale 1.0

void Band(Canvas& cv, double s, int b)
{
    const int kx = BandKnobColumn(b), nx = BandNumberColumn(b);
    const double grow = kSlotMargin * s;
    const Rect button = ButtonRect(s, nx, kRowButtons);
    LabelAbove(cv, "FREQ", KnobRect(s, kx, kRowFreq), button.bottom, s);
    const int rows[][2] = {{kRowFreqNum, kRowQ}, {kRowQNum, kRowGain}};
    const char* labels[] = {"Q", "LEVEL"};
    for (int i = 0; i < 2; ++i) {
        const Rect slot = NumberRect(s, nx, rows[i][0]);
        LabelAbove(cv, labels[i], KnobRect(s, kx, rows[i][1]), slot.bottom + grow, s);
    }
    for (int row : {kRowFreqNum, kRowQNum, kRowGainNum})
        Recess(cv, NumberRect(s, nx, row), grow, s);
}

void CutFilter(Canvas& cv, double s, int numberColumn, int knobColumn)
{
    const Rect shelf = ShelfSwitchRect(s, numberColumn);
    LabelAbove(cv, "FREQ", KnobRect(s, knobColumn, kRowCutKnob), shelf.bottom, s);
    Recess(cv, NumberRect(s, numberColumn, kRowCutNum), kSlotMargin * s, s);
}

void SlopeScales(Canvas& cv, double s)
{
    const char* texts[] = {"6", "12", "18", "24", "30", "36", "42", "48"};
    double lowCut[8], highCut[8];
    for (int k = 0; k < 8; ++k) {
        highCut[k] = 180.0 * k / 7.0;
        lowCut[k] = -highCut[k];
    }
    const Rect hp = KnobRect(s, 3, kRowSlope), lp = KnobRect(s, 6, kRowSlope);
    ScaleMarks(cv, {hp.CentreX(), hp.CentreY()}, s, lowCut, texts, 8);
    ScaleMarks(cv, {lp.CentreX(), lp.CentreY()}, s, highCut, texts, 8);
    Label(cv, "SLOPE", (hp.CentreX() + lp.CentreX()) * 0.5, hp.CentreY(), s);
}

// The shelf symbol at the switch's outer end, the bell at its inner end.
void ShelfSymbols(Canvas& cv, double s, int column, bool outerIsLeft)
{
    const Rect r = ShelfSwitchRect(s, column);
    const double cy = r.CentreY(), hh = 2.5 * s, w = 8.0 * s, inset = 1.0 * s;
    const double lx0 = r.left + inset, rx1 = r.right - inset;
    if (outerIsLeft) {
        ShelfSymbol(cv, lx0, cy - hh, lx0 + w, cy + hh, s, true);
        BellSymbol(cv, rx1 - w, cy - hh, rx1, cy + hh, s);
    } else {
        BellSymbol(cv, lx0, cy - hh, lx0 + w, cy + hh, s);
        ShelfSymbol(cv, rx1 - w, cy - hh, rx1, cy + hh, s, false);
    }
}

} // namespace

void Background(double s, int width, int height, const Emit& emit)
{
    Canvas cv(width, height);
    Panel(cv);
    DisplayWell(cv, s);
    Grooves(cv, s);
    for (int b = 0; b < 4; ++b)
        Band(cv, s, b);
    CutFilter(cv, s, 0, 1);
    CutFilter(cv, s, 7, 8);
    SlopeScales(cv, s);
    ShelfSymbols(cv, s, 0, true);
    ShelfSymbols(cv, s, 7, false);
    Recess(cv, SizeButtonRect(s), 1.0 * s, s);
    emit(cv);
}

} // namespace art
