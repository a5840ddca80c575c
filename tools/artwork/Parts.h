// SPDX-License-Identifier: GPL-3.0-or-later
// The shape helpers every image is built from: knob, pointer, value arc, button, recessed slot,
// label, scale ticks and the shelf and bell symbols. Lengths are given at scale 1.0 and
// multiplied by the scale s inside; light falls from straight above everywhere.
#pragma once

#include "Canvas.h"
#include "Layout.h"
#include "Shapes.h"

#include <string>

namespace art {

namespace palette {
const Colour kPanelTop = Rgb(52, 54, 59);
const Colour kPanelBottom = Rgb(36, 37, 41);
const Colour kPanelLine = Rgb(24, 25, 28);
const Colour kHighlight = Rgb(255, 255, 255, 0.07);
const Colour kWell = Rgb(13, 14, 16);
const Colour kLabel = Rgb(158, 164, 173);
const Colour kScale = Rgb(128, 134, 143);
const Colour kGlyph = Rgb(226, 232, 238);
const Colour kText = Rgb(196, 200, 206);
const Colour kTextOff = Rgb(128, 132, 139);
const Colour kDisplay = Rgb(51, 51, 51);
} // namespace palette

// Knob sweep in degrees clockwise from straight up.
constexpr double kKnobMin = -135.0, kKnobMax = 135.0;

// A knob's base (shadow, body, face) centred at c; the part that never turns.
void KnobBody(Canvas& cv, Point c, double s);
// The groove of the value ring around a knob.
void KnobTrack(Canvas& cv, Point c, double s);
// The lit part of the value ring from the minimum to angle.
void KnobArc(Canvas& cv, Point c, double s, double angle, Colour colour);
// The pointer line at angle.
void KnobPointer(Canvas& cv, Point c, double s, double angle, Colour colour);

// A push button filling the box (x0, y0)-(x1, y1) with its text: a switch that is off (dim text)
// or on (lit in colour), or a plain button (bright text).
enum class ButtonLook { Off, On, Plain };
void ButtonFace(Canvas& cv, double x0, double y0, double x1, double y1, double s, const std::string& text,
                ButtonLook look, Colour colour);

// A recess in the panel around r, grown by grow pixels on every side.
void Recess(Canvas& cv, const Rect& r, double grow, double s);

// A panel label centred on (cx, cy).
void Label(Canvas& cv, const std::string& text, double cx, double cy, double s, Colour colour = palette::kLabel);

// Scale marks at radius r around c at the given angles, with their texts further out.
void ScaleMarks(Canvas& cv, Point c, double s, const double* angles, const char* const* texts, int n);

// Response symbols, drawn in the box (x0, y0)-(x1, y1): a shelf rising towards the left
// (mirrored: towards the right) and a bell.
void ShelfSymbol(Canvas& cv, double x0, double y0, double x1, double y1, double s, bool risesLeft);
void BellSymbol(Canvas& cv, double x0, double y0, double x1, double y1, double s);

} // namespace art
