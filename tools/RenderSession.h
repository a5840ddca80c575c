// SPDX-License-Identifier: GPL-3.0-or-later
// Drives one plug-in instance through a render as a DAW would: bus arrangement, process
// setup, activation, one process call per block with a process context, deactivation.
#pragma once

#include "ParameterChanges.h"
#include "PluginInstance.h"
#include "WavFile.h"

#include <functional>
#include <string>

struct RenderSettings
{
    double sampleRate = 48000.0;
    int blockSize = 512;
    int channels = 2;       // 1 or 2, in and out alike
    bool doublePrecision = false;
};

class RenderSession
{
public:
    RenderSession(PluginInstance& instance, const RenderSettings& settings);
    ~RenderSession();

    // Bus arrangement, setup and activation; false and a message when the plug-in refuses.
    bool prepare(std::string& error);
    // Renders the whole source; the first block carries firstBlockChanges. Source channels are
    // mapped onto the render's channels (a missing channel repeats channel 0). progress, when
    // set, receives the fraction done after each block.
    bool render(const AudioBuffer& source, AudioBuffer& rendered, ParameterChanges& firstBlockChanges,
                const std::function<void(double)>& progress, std::string& error);

private:
    PluginInstance& plugin;
    RenderSettings settings;
    bool active = false;
};
