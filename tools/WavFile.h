// SPDX-License-Identifier: GPL-3.0-or-later
// Audio files through libsndfile: any format it reads, written as 32-bit float WAV.
// Samples are interleaved floats.
#pragma once

#include <string>
#include <vector>

struct AudioBuffer
{
    double sampleRate = 48000.0;
    int channels = 0;
    long long frames = 0;
    std::vector<float> samples; // frames * channels, interleaved

    float at(long long frame, int channel) const { return samples[(size_t) (frame * channels + channel)]; }
};

// False and a message when the file cannot be read.
bool ReadAudioFile(const std::string& path, AudioBuffer& out, std::string& error);
bool WriteFloatWav(const std::string& path, const AudioBuffer& in, std::string& error);
