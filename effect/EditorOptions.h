// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's editor and display options. They are written under the plug-in lock (menus,
// state restore, construction) and read without it by the editor and by the audio path, so
// each one is a relaxed atomic. The analyser's on/off flag belongs to this group but lives in
// the analyser itself (BandAnalyser::enabled), which reads it on the audio thread.
#pragma once

#include "Relaxed.h"

struct EditorOptions
{
    static constexpr int kNumSizes = 3;

    // Editor size 0..2: 204 x 379, 306 x 569, 408 x 758 pixels (artwork scale 1, 1.5, 2).
    Relaxed<int> sizeIndex = 0;
    // The analyser taps the effect's input (true) or its output (false).
    Relaxed<bool> analyserInput = true;
    Relaxed<bool> editorOpen = false;
    // The output gain display replaces the size button, and the Gain parameter takes effect.
    Relaxed<bool> showGain = false;
    // The frequency display draws the product name behind the curves.
    Relaxed<bool> showBgText = true;
    // Gain range of the frequency display in dB, shown as +- this value.
    Relaxed<float> magRange = 24.0f;
    // Top and span of the analyser's level scale, in dB.
    Relaxed<float> analyserTop = 10.0f;
    Relaxed<float> analyserRange = 60.0f;

    static constexpr int WidthOfSize(int idx) { return idx == 1 ? 306 : idx == 2 ? 408 : 204; }
    static constexpr int HeightOfSize(int idx) { return idx == 1 ? 569 : idx == 2 ? 758 : 379; }
    static constexpr int ClampSize(int idx) { return idx < 0 ? 0 : idx >= kNumSizes ? kNumSizes - 1 : idx; }
};
