// SPDX-License-Identifier: GPL-3.0-or-later
// What parvel-render's VST3 and VST2 paths share: the options, the source (a WAV file or the
// sweep), the progress line, and writing the result with its summary and levels.
#pragma once

#include "SweepSignal.h"
#include "WavFile.h"

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct RenderOptions
{
    std::vector<std::pair<std::string, std::string>> params;
    double sampleRate = 0.0;
    int blockSize = 512;
    bool mono = false;
    bool doublePrecision = false;
    bool bypass = false;
    bool info = false;
    std::string stateIn, stateOut;
    std::string modulePath;
    std::string vst2Path; // set: render through this VST2 plug-in instead of a VST3 module
    std::string input, output = "out.wav";
    std::vector<double> levels;
};

// Prints the message after the tool's name on stderr and returns status.
int Fail(int status, const std::string& message);
bool ReadBytes(const std::string& path, std::vector<char>& bytes);
bool WriteBytes(const std::string& path, const char* data, size_t size);

// The input file, or the sweep; rate is the render's sample rate.
bool LoadSource(const RenderOptions& o, const SweepSpec& sweep, AudioBuffer& source, double& rate, std::string& error);
// A percentage on stderr while a render of more than a second runs on a terminal; empty otherwise.
std::function<void(double)> ProgressLine(const AudioBuffer& source, double rate);
// Writes the rendered WAV and prints its summary and the levels asked for; the exit status.
int FinishRender(const RenderOptions& o, const SweepSpec& sweep, const AudioBuffer& source, const AudioBuffer& rendered);

// The whole render through the VST2 plug-in o.vst2Path; the exit status.
int RunVst2Render(const RenderOptions& o);
