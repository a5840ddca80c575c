// SPDX-License-Identifier: GPL-3.0-or-later
// Drives one VST2 plug-in through a render as a host does: sample rate, block size, speaker
// arrangement (mono or stereo), resume, one processing call per block, suspend.
#pragma once

#include "RenderSession.h"
#include "Vst2Plugin.h"
#include "WavFile.h"

#include <functional>
#include <string>

class Vst2RenderSession
{
public:
    Vst2RenderSession(Vst2Instance& instance, const RenderSettings& settings);
    ~Vst2RenderSession();

    // False and a message when the plug-in refuses the channels or the sample format.
    bool prepare(std::string& error);
    // Renders the whole source (a missing source channel repeats channel 0); progress, when set,
    // receives the fraction done after each block.
    bool render(const AudioBuffer& source, AudioBuffer& rendered, const std::function<void(double)>& progress,
                std::string& error);

private:
    Vst2Instance& plugin;
    RenderSettings settings;
    bool active = false;
};
