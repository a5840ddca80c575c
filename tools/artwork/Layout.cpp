// SPDX-License-Identifier: GPL-3.0-or-later
#include "Layout.h"

namespace art {

namespace {
const int kColumns[] = {12, 15, 60, 63, 85, 108, 111, 156, 159};
const int kRows[] = {120, 141, 172, 189, 220, 237, 268, 281, 303, 315, 346, 360};
} // namespace

int Scaled(double s, double v)
{
    return (int) ((float) s * (float) v + 0.5f);
}

int GridX(double s, int i) { return Scaled(s, kColumns[i]); }
int GridY(double s, int i) { return Scaled(s, kRows[i]); }

int KnobSize(double s) { return Scaled(s, 28); }
int ButtonWidth(double s) { return Scaled(s, 34); }
// Strips of two frames whose height is odd at 1.5 keep the integer quotient.
int ButtonHeight(double s) { return Scaled(s, 26) / 2; }
int SizeButtonHeight(double s) { return Scaled(s, 39) / 3; }
int ShelfSwitchHeight(double s) { return Scaled(s, 24) / 2; }
int NumberHeight(double s) { return (int) ((float) s * 10.0f); }

int BandKnobColumn(int b)
{
    const int c[] = {1, 3, 6, 8};
    return c[b];
}

int BandNumberColumn(int b)
{
    const int c[] = {0, 2, 5, 7};
    return c[b];
}

Rect FrequencyDisplayRect(double s)
{
    const int f = Scaled(s, 5);
    return {f, f, f + Scaled(s, 194), f + Scaled(s, 109)};
}

Rect KnobRect(double s, int column, int row)
{
    const int x = GridX(s, column), y = GridY(s, row), k = KnobSize(s);
    return {x, y, x + k, y + k};
}

Rect NumberRect(double s, int column, int row)
{
    const int x = GridX(s, column), y = GridY(s, row);
    return {x, y, x + ButtonWidth(s), y + NumberHeight(s)};
}

Rect ButtonRect(double s, int column, int row)
{
    const int x = GridX(s, column), y = GridY(s, row);
    return {x, y, x + ButtonWidth(s), y + ButtonHeight(s)};
}

Rect ShelfSwitchRect(double s, int column)
{
    const int x = GridX(s, column), y = GridY(s, kRowShelf);
    return {x, y, x + ButtonWidth(s), y + ShelfSwitchHeight(s)};
}

Rect SizeButtonRect(double s)
{
    const int x = GridX(s, 4), y = GridY(s, kRowCutButton);
    return {x, y, x + ButtonWidth(s), y + SizeButtonHeight(s)};
}

Rect EditorRect(double s)
{
    return {0, 0, Scaled(s, 204), Scaled(s, 379)};
}

} // namespace art
