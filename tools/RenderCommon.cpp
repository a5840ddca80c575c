// SPDX-License-Identifier: GPL-3.0-or-later
#include "RenderCommon.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>

int Fail(int status, const std::string& message)
{
    std::fprintf(stderr, "parvel-render: %s\n", message.c_str());
    return status;
}

bool ReadBytes(const std::string& path, std::vector<char>& bytes)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

bool WriteBytes(const std::string& path, const char* data, size_t size)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(data, (std::streamsize) size);
    return (bool) file;
}

bool LoadSource(const RenderOptions& o, const SweepSpec& sweep, AudioBuffer& source, double& rate, std::string& error)
{
    if (!o.input.empty() && !ReadAudioFile(o.input, source, error))
        return false;
    rate = o.sampleRate > 0 ? o.sampleRate : (!o.input.empty() ? source.sampleRate : 48000.0);
    if (o.input.empty())
        source = MakeSweep(sweep, rate, 2);
    return true;
}

std::function<void(double)> ProgressLine(const AudioBuffer& source, double rate)
{
    if (!::isatty(::fileno(stderr)) || (double) source.frames / rate <= 1.0)
        return {};
    auto shown = std::make_shared<int>(-1);
    return [shown](double done) {
        const int percent = (int) (done * 100.0);
        if (percent != *shown)
        {
            *shown = percent;
            std::fprintf(stderr, "\rparvel-render: %3d%%%s", percent, percent == 100 ? "\n" : "");
        }
    };
}

int FinishRender(const RenderOptions& o, const SweepSpec& sweep, const AudioBuffer& source, const AudioBuffer& rendered)
{
    std::string error;
    if (!WriteFloatWav(o.output, rendered, error))
        return Fail(kExitFailure, error);
    std::printf("wrote %s (%lld frames, %d channel%s, %g Hz)\n", o.output.c_str(), rendered.frames, rendered.channels,
                rendered.channels == 1 ? "" : "s", rendered.sampleRate);
    for (double hz : o.levels)
    {
        double gain = 0;
        if (SweepGainAt(sweep, source, rendered, hz, gain))
            std::printf("level at %g Hz: %+.2f dB\n", hz, gain);
        else
            std::printf("level at %g Hz: outside the sweep\n", hz);
    }
    return 0;
}
