// SPDX-License-Identifier: GPL-3.0-or-later
// A plain copy of the effect's editor options (everything of EditorOptions but editorOpen),
// taken under the plug-in lock: what the saved state writes and what the captured defaults keep.
#pragma once

// Bounds of the display options a saved state or the settings file may bring. The menus offer
// ranges of 6 to 24 dB and scales within -30..20 dB and 40..90 dB wide; a hand-made file may
// hold other values, which are kept, but never a span of zero or less (the display divides by
// it) nor a magnitude the display cannot turn into pixel coordinates.
constexpr double kMinOptionSpanDb = 1.0;
constexpr double kMaxOptionDb = 200.0;

struct EditorOptionValues
{
    int sizeIndex = 0;
    bool showGain = false;
    bool showBgText = true;
    float magRange = 24.0f;
    // The band analyser's on/off flag, and whether it taps the input (true) or the output.
    bool analyserOn = false;
    bool analyserInput = true;
    float analyserTop = 10.0f;
    float analyserRange = 60.0f;
};
