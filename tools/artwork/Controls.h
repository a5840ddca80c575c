// SPDX-License-Identifier: GPL-3.0-or-later
// The control images: knobs, slope knobs, switch buttons, the size button, the shelf switch and
// the number glyphs. Each draws all its frames at scale s into width x height canvases.
#pragma once

#include "Images.h"

namespace art {

// 240 frames from the minimum (lower left) clockwise to the maximum (lower right).
void BandKnob(double s, int width, int height, Colour colour, const Emit& emit);
// 8 frames clockwise from straight up to straight down; mirrored, the mirror image of that:
// frame 0 straight down, frame 7 straight up.
void SlopeKnob(double s, int width, int height, bool mirrored, const Emit& emit);
// Off, then on.
void SwitchButton(double s, int width, int height, const char* text, Colour colour, const Emit& emit);
// TINY, LARGE, HUGE.
void SizeButton(double s, int width, int height, const Emit& emit);
// Lever at the left, then at the right.
void ShelfSwitch(double s, int width, int height, const Emit& emit);
// 0 to 9, k, -, . on transparent ground.
void NumberGlyphs(double s, int width, int height, const Emit& emit);

} // namespace art
