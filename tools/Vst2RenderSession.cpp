// SPDX-License-Identifier: GPL-3.0-or-later
#include "Vst2RenderSession.h"

#include <algorithm>
#include <vector>

Vst2RenderSession::Vst2RenderSession(Vst2Instance& instance, const RenderSettings& s) : plugin(instance), settings(s)
{
}

Vst2RenderSession::~Vst2RenderSession()
{
    if (active)
    {
        plugin.dispatch(effStopProcess);
        plugin.dispatch(effMainsChanged, 0, 0);
    }
}

bool Vst2RenderSession::prepare(std::string& error)
{
    AEffect* effect = plugin.effect();
    const int channels = settings.channels;
    if (effect->numInputs < channels || effect->numOutputs < channels)
    {
        error = "the plug-in has fewer than " + std::to_string(channels) + " inputs and outputs";
        return false;
    }
    if (settings.doublePrecision && !(effect->flags & effFlagsCanDoubleReplacing))
    {
        error = "the plug-in cannot process 64-bit samples";
        return false;
    }
    if (!(effect->flags & effFlagsCanReplacing))
    {
        error = "the plug-in has no replacing processing";
        return false;
    }
    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, (float) settings.sampleRate);
    plugin.dispatch(effSetBlockSize, 0, settings.blockSize);
    VstSpeakerArrangement in{}, out{};
    in.type = out.type = channels == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
    in.numChannels = out.numChannels = channels;
    const bool taken = plugin.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out) == 1;
    if (!taken && channels != effect->numInputs)
    {
        error = std::string("the plug-in refused the ") + (channels == 1 ? "mono" : "stereo") + " arrangement";
        return false;
    }
    plugin.dispatch(effMainsChanged, 0, 1);
    plugin.dispatch(effStartProcess);
    active = true;
    return true;
}

bool Vst2RenderSession::render(const AudioBuffer& source, AudioBuffer& rendered,
                               const std::function<void(double)>& progress, std::string&)
{
    const int channels = settings.channels;
    const int block = settings.blockSize;
    rendered.sampleRate = settings.sampleRate;
    rendered.channels = channels;
    rendered.frames = source.frames;
    rendered.samples.assign((size_t) (source.frames * channels), 0.0f);

    std::vector<std::vector<float>> in32(channels, std::vector<float>(block)), out32 = in32;
    std::vector<std::vector<double>> in64(channels, std::vector<double>(block)), out64 = in64;
    std::vector<float*> in32p, out32p;
    std::vector<double*> in64p, out64p;
    for (int c = 0; c < channels; ++c)
    {
        in32p.push_back(in32[c].data());
        out32p.push_back(out32[c].data());
        in64p.push_back(in64[c].data());
        out64p.push_back(out64[c].data());
    }

    AEffect* effect = plugin.effect();
    for (long long pos = 0; pos < source.frames; pos += block)
    {
        const int n = (int) std::min<long long>(block, source.frames - pos);
        for (int c = 0; c < channels; ++c)
        {
            const int from = c < source.channels ? c : 0;
            for (int i = 0; i < n; ++i)
            {
                in32[c][i] = source.at(pos + i, from);
                in64[c][i] = source.at(pos + i, from);
            }
        }
        if (settings.doublePrecision)
            effect->processDoubleReplacing(effect, in64p.data(), out64p.data(), n);
        else
            effect->processReplacing(effect, in32p.data(), out32p.data(), n);
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < n; ++i)
                rendered.samples[(size_t) ((pos + i) * channels + c)]
                    = settings.doublePrecision ? (float) out64[c][i] : out32[c][i];
        if (progress)
            progress((double) (pos + n) / (double) source.frames);
    }
    return true;
}
