// SPDX-License-Identifier: GPL-3.0-or-later
// IPlugVST3's audio side: bus negotiation, process setup and the process call, which maps the
// host's buses onto the plug-in base's channels and applies the block's automation. process
// runs on the audio thread with the plug-in lock held and allocates nothing.
#include "IPlugVST3.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
float** HostBuffers(AudioBusBuffers& bus, float*)
{
    return bus.channelBuffers32;
}

double** HostBuffers(AudioBusBuffers& bus, double*)
{
    return bus.channelBuffers64;
}

// A host bus's channel count as far as it is usable: no buffer array means no channels.
template <typename Sample>
int UsableChannels(AudioBusBuffers& bus)
{
    return HostBuffers(bus, (Sample*) nullptr) != nullptr ? std::max(0, (int) bus.numChannels) : 0;
}
} // namespace

SpeakerArrangement IPlugVST3::SpeakerArrangementFor(int channels)
{
    switch (channels)
    {
        case 1: return SpeakerArr::kMono;
        case 2: return SpeakerArr::kStereo;
        case 3: return SpeakerArr::k30Music;
        case 4: return SpeakerArr::k40Music;
        case 5: return SpeakerArr::k50;
        case 6: return SpeakerArr::k51;
        default: return SpeakerArr::kEmpty;
    }
}

tresult PLUGIN_API IPlugVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                                 int32 numOuts)
{
    PlugLockGuard guard(*this);
    ConnectInputFlags(0);
    for (int i = 0; i < NOutChannels(); ++i)
        DisconnectOutput(i);

    // A missing arrangement asks for no channels, which no configuration of ours allows.
    const int nIn = inputs != nullptr && numIns > 0 ? SpeakerArr::getChannelCount(inputs[0]) : 0;
    const int nOut = outputs != nullptr && numOuts > 0 ? SpeakerArr::getChannelCount(outputs[0]) : 0;
    if (!LegalIO(nIn, nOut))
        return kResultFalse;

    auto* in0 = FCast<AudioBus>(getBus(kAudio, kInput, 0));
    if (in0 != nullptr && SpeakerArr::getChannelCount(in0->getArrangement()) != nIn)
    {
        removeAudioInputBusses();
        addAudioInput(STR16("Input"), SpeakerArrangementFor(nIn));
    }
    auto* out0 = FCast<AudioBus>(getBus(kAudio, kOutput, 0));
    if (out0 != nullptr && SpeakerArr::getChannelCount(out0->getArrangement()) != nOut)
    {
        removeAudioOutputBusses();
        addAudioOutput(STR16("Output"), SpeakerArrangementFor(nOut));
    }
    return numIns == 1 ? kResultOk : kResultFalse;
}

tresult PLUGIN_API IPlugVST3::canProcessSampleSize(int32 symbolicSampleSize)
{
    return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultOk : kResultFalse;
}

uint32 PLUGIN_API IPlugVST3::getLatencySamples()
{
    return (uint32) GetLatency();
}

uint32 PLUGIN_API IPlugVST3::getTailSamples()
{
    return (uint32) GetTailSize();
}

tresult PLUGIN_API IPlugVST3::setupProcessing(ProcessSetup& setup)
{
    if (setup.symbolicSampleSize != kSample32 && setup.symbolicSampleSize != kSample64)
        return kResultFalse;
    PlugLockGuard guard(*this);
    // Longer host blocks are rendered in pieces of the prepared size, so a host announcing a
    // huge maximum gains nothing from scratch buffers beyond kMaxPreparedBlock frames.
    const int prepared = std::clamp<int32>(setup.maxSamplesPerBlock, 0, kMaxPreparedBlock);
    ChangeSampleRate(setup.sampleRate);
    ChangeBlockSize(prepared);
    RestartProcessing();
    processSetup.processMode = setup.processMode;
    processSetup.symbolicSampleSize = setup.symbolicSampleSize;
    processSetup.maxSamplesPerBlock = setup.maxSamplesPerBlock;
    processSetup.sampleRate = setup.sampleRate;
    // The scratch buffers could not be sized: processing would render silence, so say so.
    if (prepared > 0 && GetBlockSize() != prepared)
        return kResultFalse;
    return kResultOk;
}

tresult PLUGIN_API IPlugVST3::setProcessing(TBool)
{
    return kNotImplemented;
}

void IPlugVST3::ConnectInputFlags(int nConnected)
{
    for (int i = 0; i < NInChannels(); ++i)
    {
        InputChannel* ch = InChannel(i);
        const bool connect = i < nConnected;
        // A channel that leaves the host's bus must not replay the last block it converted.
        if (ch->connected && !connect)
            std::fill(ch->scratch.begin(), ch->scratch.end(), 0.0);
        ch->connected = connect;
        if (!connect)
            *ch->source = ch->scratch.data();
    }
}

void IPlugVST3::DisconnectOutput(int channel)
{
    OutputChannel* ch = OutChannel(channel);
    ch->connected = false;
    *ch->dest = ch->scratch.data();
}

template <typename Sample>
void IPlugVST3::ConnectBuses(ProcessData& data)
{
    if (data.numInputs > 0 && data.inputs != nullptr)
    {
        AudioBusBuffers& bus = data.inputs[0];
        ConnectInputFlags(UsableChannels<Sample>(bus));
        if (UsableChannels<Sample>(bus) > 0)
        {
            if constexpr (std::is_same_v<Sample, float>)
                ConnectInputs(0, NInChannels(), HostBuffers(bus, (float*) nullptr), data.numSamples);
            else
                ConnectInputs(0, NInChannels(), HostBuffers(bus, (double*) nullptr));
        }
    }
    else
    {
        // No input bus this block: the channels keep their connected state, but their scratch
        // still holds the last converted block, which must not be heard again.
        for (int i = 0; i < NInChannels(); ++i)
        {
            InputChannel* ch = InChannel(i);
            std::fill(ch->scratch.begin(), ch->scratch.end(), 0.0);
            *ch->source = ch->scratch.data();
        }
    }

    int offset = 0;
    for (int32 b = 0; data.outputs != nullptr && b < data.numOutputs; ++b)
    {
        AudioBusBuffers& bus = data.outputs[b];
        const int c = UsableChannels<Sample>(bus);
        // A host bus beyond the declared ones has no active flag, so it stays unwritten.
        Bus* declared = getBus(kAudio, kOutput, b);
        const bool active = declared != nullptr && declared->isActive();
        for (int i = offset; i < NOutChannels(); ++i)
        {
            if (i < offset + c && active)
                OutChannel(i)->connected = true;
            else
                DisconnectOutput(i);
        }
        if (active && c > 0 && offset < NOutChannels())
            ConnectOutputs(offset, c, HostBuffers(bus, (Sample*) nullptr));
        offset += c;
    }
}

tresult PLUGIN_API IPlugVST3::process(ProcessData& data)
{
    PlugLockGuard guard(*this);
    if (data.processContext != nullptr)
        mProcessContext = *data.processContext;
    ApplyAutomation(data.inputParameterChanges);
    if (data.numSamples <= 0)
        return kResultOk;

    // The sample size of the data describes the buffers in hand; one the setup did not
    // announce is still processed in its own width, never read in the other.
    if (data.symbolicSampleSize == kSample32)
    {
        ConnectBuses<float>(data);
        if (IsBypassed())
            BypassFloatBlock(data.numSamples);
        else
            ProcessFloatBlock(data.numSamples);
    }
    else if (data.symbolicSampleSize == kSample64)
    {
        ConnectBuses<double>(data);
        if (IsBypassed())
            BypassDoubleBlock(data.numSamples);
        else
            ProcessDoubleBlock(data.numSamples);
    }
    return kResultOk;
}

void IPlugVST3::ApplyAutomation(IParameterChanges* changes)
{
    if (changes == nullptr)
        return;
    const int32 nQueues = changes->getParameterCount();
    for (int32 q = 0; q < nQueues; ++q)
    {
        IParamValueQueue* queue = changes->getParameterData(q);
        if (queue == nullptr)
            continue;
        const int32 nPoints = queue->getPointCount();
        int32 offset = 0;
        ParamValue v = 0.0;
        if (nPoints <= 0 || queue->getPoint(nPoints - 1, offset, v) != kResultOk)
            continue;
        const ParamID id = queue->getParameterId();
        if (id == kBypassParamId)
            SetBypassed(v > 0.5);
        else if (id == kPresetParamId)
        {
            if (std::isfinite(v))
                LoadPreset((int) (std::clamp(v, 0.0, 1.0) * PresetCount()));
        }
        else if (id < (ParamID) ParamCount())
        {
            Param((int) id)->SetFromNormalized(v);
            if (IEditorLink* editor = GetGUI())
                editor->PushParamToControls((int) id, v, true);
            ParamChanged((int) id);
        }
    }
}
