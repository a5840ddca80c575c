// SPDX-License-Identifier: GPL-3.0-or-later
// Two small stroke fonts of our own, so the artwork depends on no installed font: capitals and
// figures for the panel's labels (designed on a 3 x 5 grid, M and W wider) and the thirteen
// glyphs of the number displays (a 4 x 7 grid). Each glyph is a few polylines on its grid; a
// scale maps the grid to pixels with every grid line snapped to the pixel grid, so the strokes
// stay sharp: one-pixel strokes are drawn without antialiasing unless they run at an angle
// other than 45 degrees.
#pragma once

#include "Canvas.h"

#include <string>

namespace art {

enum class FontKind { Label, Number };

struct FontMetrics
{
    FontKind kind = FontKind::Label;
    double unitX = 1.0, unitY = 1.0; // pixels per grid step, before snapping
    double stroke = 1.0;             // pen width in pixels
    int gap = 1;                     // pixels between label glyphs
};

// The label font at scale s (cap height about 5 s).
FontMetrics LabelFont(double s);
// The number-display font filling a glyph cell of width x height pixels with its own spacing.
FontMetrics NumberFont(int cellWidth, int cellHeight);

int TextWidth(const std::string& text, const FontMetrics& m);
int TextHeight(const FontMetrics& m);

// Draws text with its top left corner at the pixel (x, y).
void DrawText(Canvas& cv, const std::string& text, int x, int y, const FontMetrics& m, Colour colour);
// Draws text centred on (cx, cy), its corner snapped to whole pixels.
void DrawTextCentred(Canvas& cv, const std::string& text, double cx, double cy, const FontMetrics& m, Colour colour);

} // namespace art
