// SPDX-License-Identifier: GPL-3.0-or-later
#include "IPlugVST3.h"

#include "IPlugParameter.h"
#include "IPlugVST3View.h"
#include "Vst3Text.h"

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr int kStateReadPiece = 128;

SpeakerArrangement ArrangementFor(int channels)
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

IPlugVST3::IPlugVST3(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* mfrName, int vendorVersion, int uniqueID, int mfrID,
                     int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst)
    : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion, uniqueID, mfrID,
                latency, plugDoesMidi, plugDoesChunks, plugIsInst, PluginApi::VST3)
{
    for (int i = 0; i < NInChannels(); ++i)
        InChannel(i)->connected = true;
    for (int i = 0; i < NOutChannels(); ++i)
        OutChannel(i)->connected = true;
    if (NInChannels() > 0)
        CreateLatencyDelayLine();
    SetInputBusLabel(0, "Main Input");
    SetOutputBusLabel(0, "Output");
}

// The views hold references to the plug-in, so none is alive here; the list only forgets them.
IPlugVST3::~IPlugVST3()
{
    mViews.clear();
}

tresult PLUGIN_API IPlugVST3::initialize(FUnknown* context)
{
    PlugLockGuard guard(*this);
    const tresult result = SingleComponentEffect::initialize(context);
    if (context != nullptr)
    {
        IHostApplication* app = nullptr;
        if (context->queryInterface(IHostApplication::iid, (void**) &app) == kResultOk && app != nullptr)
        {
            String128 wide{};
            char name[128] = {};
            if (app->getName(wide) == kResultOk)
            {
                wide[127] = 0;
                Vst3Text::Narrow(wide, name, (int) sizeof name);
            }
            IdentifyHost(name, 0);
            app->release();
        }
    }
    if (result == kResultOk)
    {
        TChar label[128];
        const int nIn = NInChannels();
        if (nIn >= 1 && nIn <= 6)
        {
            Vst3Text::Widen(InputBusLabel(0), label, 128);
            addAudioInput(label, ArrangementFor(nIn));
        }
        Vst3Text::Widen(OutputBusLabel(0), label, 128);
        addAudioOutput(label, ArrangementFor(NOutChannels()));

        if (PresetCount() >= 1)
            parameters.addParameter(STR16("Preset"), nullptr, PresetCount(), 0.0, ParameterInfo::kIsProgramChange,
                                    (int32) kPresetParamId, kRootUnitId);
        auto* bypass = new StringListParameter(STR16("Bypass"), kBypassParamId, nullptr,
                                               ParameterInfo::kCanAutomate | ParameterInfo::kIsList
                                                   | ParameterInfo::kIsBypass,
                                               kRootUnitId);
        bypass->appendString(STR16("off"));
        bypass->appendString(STR16("on"));
        parameters.addParameter(bypass);
        for (int i = 0; i < ParamCount(); ++i)
            parameters.addParameter(new IPlugParameter(Param(i), (ParamID) i));
    }
    HostIdentified();
    LoadPreset(0);
    return result;
}

tresult PLUGIN_API IPlugVST3::setActive(TBool state)
{
    ActivationChanged(state != 0);
    return kResultOk;
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
        addAudioInput(STR16("Input"), ArrangementFor(nIn));
    }
    auto* out0 = FCast<AudioBus>(getBus(kAudio, kOutput, 0));
    if (out0 != nullptr && SpeakerArr::getChannelCount(out0->getArrangement()) != nOut)
    {
        removeAudioOutputBusses();
        addAudioOutput(STR16("Output"), ArrangementFor(nOut));
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
    ChangeSampleRate(setup.sampleRate);
    ChangeBlockSize(setup.maxSamplesPerBlock);
    RestartProcessing();
    processSetup.processMode = setup.processMode;
    processSetup.symbolicSampleSize = setup.symbolicSampleSize;
    processSetup.maxSamplesPerBlock = setup.maxSamplesPerBlock;
    processSetup.sampleRate = setup.sampleRate;
    // The scratch buffers could not be sized: processing would render silence, so say so.
    if (setup.maxSamplesPerBlock > 0 && GetBlockSize() != setup.maxSamplesPerBlock)
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

tresult PLUGIN_API IPlugVST3::getState(IBStream* state)
{
    if (state == nullptr)
        return kResultFalse;
    PlugLockGuard guard(*this);
    IStateChunk chunk;
    if (!SerializeEffectState(chunk))
        return kResultFalse;
    int32 written = 0;
    if (chunk.Size() > 0
        && (state->write(chunk.Data(), chunk.Size(), &written) != kResultOk || written != chunk.Size()))
        return kResultFalse;
    const uint32 flag = IsBypassed() ? 1u : 0u;
    uint8 bytes[4] = {(uint8) flag, 0, 0, 0};
    written = 0;
    if (state->write(bytes, 4, &written) != kResultOk || written != 4)
        return kResultFalse;
    return kResultOk;
}

// The stream holds the effect's state followed by the 4-byte bypass flag. All of it is read
// into the chunk (the effect ignores bytes after its state), and the flag is taken from the
// last four bytes. The result is ok when the effect applied a state; otherwise nothing, the
// bypass flag included, has changed.
tresult PLUGIN_API IPlugVST3::setState(IBStream* state)
{
    if (state == nullptr)
        return kResultFalse;
    PlugLockGuard guard(*this);
    int64 size = -1;
    if (state->seek(0, IBStream::kIBSeekEnd, &size) != kResultOk)
        size = -1;
    state->seek(0, IBStream::kIBSeekSet, nullptr);

    IStateChunk chunk;
    uint8 piece[kStateReadPiece];
    // An unknown size reads until the stream runs dry; a read that delivers nothing ends the loop.
    while (size < 0 || chunk.Size() < size)
    {
        int32 want = kStateReadPiece;
        if (size >= 0)
            want = (int32) std::min<int64>(kStateReadPiece, size - chunk.Size());
        int32 got = 0;
        if (state->read(piece, want, &got) != kResultOk || got <= 0)
            break;
        got = std::min(got, want);
        if (!chunk.PutBytes(piece, got))
            break;
    }
    if (chunk.Size() < 4)
        return kResultFalse;

    mRestoring = true;
    mRestoreApplied = false;
    const int read = UnserializeEffectState(chunk, 0);
    mRestoring = false;
    if (read < 0 || !mRestoreApplied)
        return kResultFalse;

    const uint8* tail = chunk.Data() + chunk.Size() - 4;
    const uint32 flag = (uint32) tail[0] | ((uint32) tail[1] << 8) | ((uint32) tail[2] << 16) | ((uint32) tail[3] << 24);
    SetBypassed(flag != 0);
    RefreshParamControls();
    return kResultOk;
}

tresult PLUGIN_API IPlugVST3::setComponentState(IBStream* state)
{
    return setState(state);
}

void IPlugVST3::ParamChanged(int paramIdx)
{
    if (mRestoring)
        mRestoreApplied = true;
    IPlugBase::ParamChanged(paramIdx);
}

tresult PLUGIN_API IPlugVST3::getParamStringByValue(ParamID id, ParamValue value, String128 string)
{
    if (string == nullptr || id >= (ParamID) ParamCount())
        return kResultFalse;
    Vst3Text::Widen(Param((int) id)->FormatValue(value, true, true).c_str(), string, 128);
    return kResultOk;
}

ParamValue PLUGIN_API IPlugVST3::plainParamToNormalized(ParamID id, ParamValue plain)
{
    if (id >= (ParamID) ParamCount())
        return plain;
    return Param((int) id)->NormalizedOf(plain);
}

ParamValue PLUGIN_API IPlugVST3::getParamNormalized(ParamID id)
{
    if (id == kBypassParamId)
        return IsBypassed() ? 1.0 : 0.0;
    if (id < (ParamID) ParamCount())
        return Param((int) id)->NormalizedValue();
    return 0.0;
}

tresult PLUGIN_API IPlugVST3::setParamNormalized(ParamID id, ParamValue value)
{
    if (id >= (ParamID) ParamCount())
        return kResultFalse;
    Param((int) id)->SetFromNormalized(value);
    return kResultOk;
}

IPlugView* PLUGIN_API IPlugVST3::createView(FIDString name)
{
    if (name == nullptr || std::strcmp(name, ViewType::kEditor) != 0)
        return nullptr;
    auto* view = new IPlugVST3View(this);
    mViews.push_back(view);
    return view;
}

void IPlugVST3::BeginParamGesture(int paramIdx)
{
    if (componentHandler != nullptr)
        componentHandler->beginEdit((ParamID) paramIdx);
}

void IPlugVST3::NotifyHostParamValue(int paramIdx, double normalized)
{
    if (componentHandler != nullptr)
        componentHandler->performEdit((ParamID) paramIdx, normalized);
}

void IPlugVST3::EndParamGesture(int paramIdx)
{
    if (componentHandler != nullptr)
        componentHandler->endEdit((ParamID) paramIdx);
}

bool IPlugVST3::IsOfflineRender()
{
    return processSetup.processMode == kOffline;
}

int IPlugVST3::GetSamplePosition()
{
    return (int) mProcessContext.projectTimeSamples;
}

double IPlugVST3::GetTempoBpm()
{
    return mProcessContext.tempo;
}

void IPlugVST3::GetTimeSignature(int& numerator, int& denominator)
{
    numerator = mProcessContext.timeSigNumerator;
    denominator = mProcessContext.timeSigDenominator;
}

void IPlugVST3::GetTransportInfo(TransportInfo& info)
{
    info.tempo = mProcessContext.tempo;
    info.samplePos = (double) mProcessContext.projectTimeSamples;
    info.ppqPos = mProcessContext.projectTimeMusic;
    info.lastBar = mProcessContext.barPositionMusic;
    info.cycleStart = mProcessContext.cycleStartMusic;
    info.cycleEnd = mProcessContext.cycleEndMusic;
    info.numerator = mProcessContext.timeSigNumerator;
    info.denominator = mProcessContext.timeSigDenominator;
    info.transportRunning = (mProcessContext.state & ProcessContext::kPlaying) != 0;
    info.loopActive = (mProcessContext.state & ProcessContext::kCycleActive) != 0;
}

void IPlugVST3::SetLatencySamples(int samples)
{
    IPlugBase::SetLatencySamples(samples);
    if (componentHandler != nullptr)
        componentHandler->restartComponent(kLatencyChanged);
}

void IPlugVST3::ShowHostParamMenu(int paramIdx, int x, int y)
{
    IPlugVST3View* view = FirstView();
    if (componentHandler == nullptr || view == nullptr)
        return;
    IComponentHandler3* handler3 = nullptr;
    if (componentHandler->queryInterface(IComponentHandler3::iid, (void**) &handler3) != kResultOk
        || handler3 == nullptr)
        return;
    const ParamID id = (ParamID) paramIdx;
    if (IContextMenu* menu = handler3->createContextMenu(view, &id))
    {
        menu->popup((UCoord) x, (UCoord) y);
        menu->release();
    }
    handler3->release();
}

void IPlugVST3::RequestEditorResize(int width, int height)
{
    if (GetGUI() == nullptr)
        return;
    if (IPlugVST3View* view = FirstView())
        view->RequestResize(width, height);
}
