// SPDX-License-Identifier: GPL-3.0-or-later
// A plain copy of the effect's editor options (everything of EditorOptions but editorOpen),
// taken under the plug-in lock: what the saved state writes and what the captured defaults keep.
#pragma once

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
