// SPDX-License-Identifier: GPL-3.0-or-later
#include "RenderSession.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

RenderSession::RenderSession(PluginInstance& instance, const RenderSettings& s) : plugin(instance), settings(s) {}

RenderSession::~RenderSession()
{
    if (active)
    {
        plugin.processor->setProcessing(false);
        plugin.component->setActive(false);
    }
}

bool RenderSession::prepare(std::string& error)
{
    SpeakerArrangement in = settings.channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
    SpeakerArrangement out = in;
    if (plugin.processor->setBusArrangements(&in, 1, &out, 1) != kResultOk)
    {
        error = "the plug-in refused the " + std::string(settings.channels == 1 ? "mono" : "stereo") + " buses";
        return false;
    }
    plugin.component->activateBus(kAudio, kInput, 0, true);
    plugin.component->activateBus(kAudio, kOutput, 0, true);
    const int32 sampleSize = settings.doublePrecision ? kSample64 : kSample32;
    if (plugin.processor->canProcessSampleSize(sampleSize) != kResultOk)
    {
        error = std::string("the plug-in cannot process ") + (settings.doublePrecision ? "64" : "32") + "-bit samples";
        return false;
    }
    ProcessSetup setup{kOffline, sampleSize, settings.blockSize, settings.sampleRate};
    if (plugin.processor->setupProcessing(setup) != kResultOk)
    {
        error = "the plug-in refused the process setup";
        return false;
    }
    if (plugin.component->setActive(true) != kResultOk)
    {
        error = "the plug-in refused activation";
        return false;
    }
    active = true;
    plugin.processor->setProcessing(true);
    return true;
}

bool RenderSession::render(const AudioBuffer& source, AudioBuffer& rendered, ParameterChanges& firstBlockChanges,
                           const std::function<void(double)>& progress, std::string& error)
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
    AudioBusBuffers inBus, outBus;
    inBus.numChannels = outBus.numChannels = channels;
    if (settings.doublePrecision)
    {
        inBus.channelBuffers64 = in64p.data();
        outBus.channelBuffers64 = out64p.data();
    }
    else
    {
        inBus.channelBuffers32 = in32p.data();
        outBus.channelBuffers32 = out32p.data();
    }

    ParameterChanges noChanges(1);
    ProcessContext context{};
    context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid | ProcessContext::kTimeSigValid;
    context.sampleRate = settings.sampleRate;
    context.tempo = 120.0;
    context.timeSigNumerator = 4;
    context.timeSigDenominator = 4;

    ProcessData data;
    data.processMode = kOffline;
    data.symbolicSampleSize = settings.doublePrecision ? kSample64 : kSample32;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    data.processContext = &context;

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
        data.numSamples = n;
        data.inputParameterChanges = pos == 0 ? &firstBlockChanges : &noChanges;
        context.projectTimeSamples = pos;
        context.continousTimeSamples = pos;
        if (plugin.processor->process(data) != kResultOk)
        {
            error = "the plug-in's process call failed";
            return false;
        }
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < n; ++i)
                rendered.samples[(size_t) ((pos + i) * channels + c)]
                    = settings.doublePrecision ? (float) out64[c][i] : out32[c][i];
        if (progress)
            progress((double) (pos + n) / (double) source.frames);
    }
    return true;
}
