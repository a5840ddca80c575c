// SPDX-License-Identifier: GPL-3.0-or-later
#include "WavFile.h"

#include <sndfile.h>

bool ReadAudioFile(const std::string& path, AudioBuffer& out, std::string& error)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr)
    {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    if (info.channels < 1 || info.frames < 0)
    {
        sf_close(file);
        error = path + " holds no audio channels";
        return false;
    }
    out.sampleRate = info.samplerate;
    out.channels = info.channels;
    out.samples.assign((size_t) (info.frames * info.channels), 0.0f);
    out.frames = sf_readf_float(file, out.samples.data(), info.frames);
    out.samples.resize((size_t) (out.frames * info.channels));
    sf_close(file);
    return true;
}

bool WriteFloatWav(const std::string& path, const AudioBuffer& in, std::string& error)
{
    SF_INFO info{};
    info.samplerate = (int) in.sampleRate;
    info.channels = in.channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
    {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    const sf_count_t written = sf_writef_float(file, in.samples.data(), in.frames);
    const int closeResult = sf_close(file);
    if (written != in.frames || closeResult != 0)
    {
        error = "writing " + path + " failed";
        return false;
    }
    return true;
}
