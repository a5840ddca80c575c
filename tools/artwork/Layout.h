// SPDX-License-Identifier: GPL-3.0-or-later
// Where the editor puts its controls at each scale, so that the background's labels, slots and
// scales land under them: the editor's grid of columns and rows, scaled by int(s * v + 0.5) in
// single precision, and the rectangles of the controls built on it.
#pragma once

#include "Canvas.h"

namespace art {

// A rectangle in pixels, right and bottom exclusive.
struct Rect
{
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    double CentreX() const { return (left + right) * 0.5; }
    double CentreY() const { return (top + bottom) * 0.5; }
};

// A length of the 1.0 layout at scale s.
int Scaled(double s, double v);
int GridX(double s, int i);
int GridY(double s, int i);

// Frame sizes of the control artwork at scale s (the strip widths and heights / frames).
int KnobSize(double s);
int ButtonWidth(double s);
int ButtonHeight(double s);
int SizeButtonHeight(double s);
int ShelfSwitchHeight(double s);
int NumberHeight(double s);

// Column of band b's (0..3) knobs and of its number displays and switch.
int BandKnobColumn(int b);
int BandNumberColumn(int b);

Rect FrequencyDisplayRect(double s);
Rect KnobRect(double s, int column, int row);
Rect NumberRect(double s, int column, int row);
Rect ButtonRect(double s, int column, int row);
Rect ShelfSwitchRect(double s, int column);
Rect SizeButtonRect(double s);
Rect EditorRect(double s);

// The rows of the grid the controls sit on.
enum Row { kRowButtons, kRowFreq, kRowFreqNum, kRowQ, kRowQNum, kRowGain, kRowGainNum, kRowShelf, kRowSlope,
           kRowCutKnob, kRowCutNum, kRowCutButton };

} // namespace art
