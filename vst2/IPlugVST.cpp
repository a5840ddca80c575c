// SPDX-License-Identifier: GPL-3.0-or-later
// IPlugVST's construction, the record's entry points, and the plug-in base's host-facing
// operations as calls of the host callback. The dispatcher is in IPlugVSTDispatcher.cpp, the
// chunks in IPlugVSTState.cpp, processing and parameters in IPlugVSTProcessing.cpp.
#include "IPlugVST.h"

#include "Vst2EditorWindow.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <cstdint>

namespace
{
constexpr int kHostProductSize = 256;

// The record's entry points: a record that is not one of ours is refused.
VstIntPtr VST2_CALLBACK DispatcherEntry(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                        float opt)
{
    IPlugVST* plug = IPlugVST::FromEffect(effect);
    if (plug == nullptr)
        return 0;
    if (opcode == effClose)
    {
        IPlugVST::Close(plug);
        return 0;
    }
    return plug->Dispatch(opcode, index, value, ptr, opt);
}

void VST2_CALLBACK ProcessAccumulatingEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
    if (IPlugVST* plug = IPlugVST::FromEffect(effect))
        plug->ProcessAccumulating(inputs, outputs, frames);
}

void VST2_CALLBACK ProcessReplacingEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
    if (IPlugVST* plug = IPlugVST::FromEffect(effect))
        plug->ProcessReplacing(inputs, outputs, frames);
}

void VST2_CALLBACK ProcessDoubleReplacingEntry(AEffect* effect, double** inputs, double** outputs, VstInt32 frames)
{
    if (IPlugVST* plug = IPlugVST::FromEffect(effect))
        plug->ProcessDoubleReplacing(inputs, outputs, frames);
}

void VST2_CALLBACK SetParameterEntry(AEffect* effect, VstInt32 index, float value)
{
    if (IPlugVST* plug = IPlugVST::FromEffect(effect))
        plug->SetParameter(index, value);
}

float VST2_CALLBACK GetParameterEntry(AEffect* effect, VstInt32 index)
{
    IPlugVST* plug = IPlugVST::FromEffect(effect);
    return plug != nullptr ? plug->GetParameter(index) : 0.0f;
}

bool IsSpecialHost(int hostId)
{
    return hostId == 15 || hostId == 17 || hostId == 18 || hostId == 20;
}
} // namespace

IPlugVST::IPlugVST(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                   const char* productName, const char* mfrName, int vendorVersion, int uniqueID, int mfrID,
                   int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst)
    : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion, uniqueID, mfrID,
                latency, plugDoesMidi, plugDoesChunks, plugIsInst, PluginApi::VST2)
{
    mEffect.magic = kEffectMagic;
    mEffect.dispatcher = DispatcherEntry;
    mEffect.process = ProcessAccumulatingEntry;
    mEffect.setParameter = SetParameterEntry;
    mEffect.getParameter = GetParameterEntry;
    mEffect.numPrograms = PresetCount();
    mEffect.numParams = ParamCount();
    mEffect.numInputs = NInChannels();
    mEffect.numOutputs = NOutChannels();
    mEffect.flags = effFlagsCanReplacing | effFlagsProgramChunks | effFlagsCanDoubleReplacing;
    if (LegalIO(1, -1))
        mEffect.flags |= effFlagsCanMono;
    mEffect.initialDelay = GetLatency();
    mEffect.ioRatio = 1.0f;
    mEffect.object = this;
    mEffect.uniqueID = GetUniqueID();
    mEffect.version = DecimalVersion(GetEffectVersion());
    mEffect.processReplacing = ProcessReplacingEntry;
    mEffect.processDoubleReplacing = ProcessDoubleReplacingEntry;

    FillArrangement(mInputArrangement, NInChannels());
    FillArrangement(mOutputArrangement, NOutChannels());
    for (int i = 0; i < NInChannels(); ++i)
        InChannel(i)->connected = true;
    for (int i = 0; i < NOutChannels(); ++i)
        OutChannel(i)->connected = true;
    IPlugBase::ChangeBlockSize(1024);
}

IPlugVST::~IPlugVST() = default;

void IPlugVST::FillArrangement(VstSpeakerArrangement& arrangement, int channels)
{
    std::memset(&arrangement, 0, sizeof arrangement);
    arrangement.numChannels = channels;
    switch (channels)
    {
    case 0: arrangement.type = kSpeakerArrEmpty; break;
    case 1: arrangement.type = kSpeakerArrMono; break;
    case 2: arrangement.type = kSpeakerArrStereo; break;
    default: arrangement.type = kSpeakerArrUserDefined; break;
    }
}

AEffect* IPlugVST::ReadyForHost(audioMasterCallback hostCallback)
{
    mHostCallback = hostCallback;
    FillEmptyPresets(PresetCount());
    if (mEffect.numPrograms <= 0)
        mEffect.numPrograms = 1;
    return &mEffect;
}

IPlugVST* IPlugVST::FromEffect(AEffect* effect)
{
    if (effect == nullptr || effect->magic != kEffectMagic)
        return nullptr;
    return static_cast<IPlugVST*>(effect->object);
}

void IPlugVST::Close(IPlugVST* plug)
{
    {
        // The lock is part of the plug-in: it is taken to wait for a running call, then released
        // before the plug-in goes.
        PlugLockGuard guard(*plug);
        plug->EditClose();
    }
    delete plug;
}

VstInt32 IPlugVST::DecimalVersion(int version)
{
    const int major = (version >> 16) & 0xFFFF, minor = (version >> 8) & 0xFF, third = version & 0xFF;
    return major * 10000 + minor * 100 + third;
}

// V + ((V mod 10000) div 100) * 156 + (V div 10000) * 55536, in 64 bits; out-of-range answers
// from the host give 0 or the largest version.
int IPlugVST::VersionFromDecimal(VstIntPtr decimal)
{
    if (decimal <= 0)
        return 0;
    const int64_t v = (int64_t) decimal;
    const int64_t layout = (v / 10000) * 65536 + ((v % 10000) / 100) * 256 + v % 100;
    return (int) std::min<int64_t>(layout, INT_MAX);
}

VstIntPtr IPlugVST::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (mHostCallback == nullptr)
        return 0;
    return mHostCallback(&mEffect, opcode, index, value, ptr, opt);
}

void IPlugVST::ParamChanged(int paramIdx)
{
    if (mRestoring)
        mRestoreApplied = true;
    IPlugBase::ParamChanged(paramIdx);
}

void IPlugVST::BeginParamGesture(int paramIdx)
{
    CallHost(audioMasterBeginEdit, paramIdx);
}

void IPlugVST::NotifyHostParamValue(int paramIdx, double normalized)
{
    CallHost(audioMasterAutomate, paramIdx, 0, nullptr, (float) normalized);
}

void IPlugVST::EndParamGesture(int paramIdx)
{
    CallHost(audioMasterEndEdit, paramIdx);
}

void IPlugVST::NotifyHostPresetChanged()
{
    CallHost(audioMasterUpdateDisplay);
}

bool IPlugVST::IsOfflineRender()
{
    return CallHost(audioMasterGetCurrentProcessLevel) == kVstProcessLevelOffline;
}

const VstTimeInfo* IPlugVST::HostTime(VstInt32 mask)
{
    return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, mask));
}

int IPlugVST::GetSamplePosition()
{
    const VstTimeInfo* t = HostTime(0);
    if (t == nullptr || !(t->samplePos >= 0.0) || t->samplePos > (double) INT_MAX)
        return 0;
    return (int) (t->samplePos + 0.5);
}

double IPlugVST::GetTempoBpm()
{
    const VstTimeInfo* t = HostTime(kVstTempoValid);
    if (t == nullptr || !(t->flags & kVstTempoValid) || !(t->tempo >= 0.0))
        return 0.0;
    return t->tempo;
}

void IPlugVST::GetTimeSignature(int& numerator, int& denominator)
{
    numerator = denominator = 0;
    const VstTimeInfo* t = HostTime(kVstTimeSigValid);
    if (t != nullptr && (t->flags & kVstTimeSigValid) && t->timeSigNumerator >= 0 && t->timeSigDenominator >= 0)
    {
        numerator = t->timeSigNumerator;
        denominator = t->timeSigDenominator;
    }
}

void IPlugVST::GetTransportInfo(TransportInfo& info)
{
    constexpr VstInt32 kMask = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;
    const VstTimeInfo* t = HostTime(kMask);
    if (t == nullptr || !(t->flags & kMask))
        return;
    info.samplePos = t->samplePos;
    if ((t->flags & kVstPpqPosValid) && t->ppqPos >= 0.0)
        info.ppqPos = t->ppqPos;
    if ((t->flags & kVstTempoValid) && t->tempo > 0.0)
        info.tempo = t->tempo;
    if ((t->flags & kVstBarsValid) && t->barStartPos >= 0.0)
        info.lastBar = t->barStartPos;
    if ((t->flags & kVstCyclePosValid) && t->cycleStartPos >= 0.0 && t->cycleEndPos >= 0.0)
    {
        info.cycleStart = t->cycleStartPos;
        info.cycleEnd = t->cycleEndPos;
    }
    if ((t->flags & kVstTimeSigValid) && t->timeSigNumerator > 0 && t->timeSigDenominator > 0)
    {
        info.numerator = t->timeSigNumerator;
        info.denominator = t->timeSigDenominator;
    }
    info.transportRunning = (t->flags & kVstTransportPlaying) != 0;
    info.loopActive = (t->flags & kVstTransportCycleActive) != 0;
}

int IPlugVST::GetHostId()
{
    const int known = IPlugBase::GetHostId();
    if (known != -1)
        return known;
    char product[kHostProductSize] = {};
    CallHost(audioMasterGetProductString, 0, 0, product);
    product[kHostProductSize - 1] = '\0'; // a host that writes the whole buffer still ends here
    const int version = product[0] != '\0' ? VersionFromDecimal(CallHost(audioMasterGetVendorVersion)) : 0;
    IdentifyHost(product, version);
    return IPlugBase::GetHostId();
}

void IPlugVST::InitForHost()
{
    if (mHostSetUpDone)
        return;
    mHostSetUpDone = true;
    if (IsSpecialHost(GetHostId()))
    {
        ConnectFirstInputs(std::min(2, NInChannels()));
        if (NOutChannels() >= 3)
            ConnectFirstOutputs(NOutChannels());
    }
    HostIdentified();
}

bool IPlugVST::HasEditorWindow() const
{
    return GetGUI() != nullptr && Vst2EditorWindow::CanOpen(GetGUI());
}

void IPlugVST::UpdateEditorRect()
{
    int width = 0, height = 0;
    if (!Vst2EditorWindow::Size(GetGUI(), width, height))
        return;
    mEditRect.top = 0;
    mEditRect.left = 0;
    mEditRect.bottom = (VstInt16) std::clamp(height, 0, (int) INT16_MAX);
    mEditRect.right = (VstInt16) std::clamp(width, 0, (int) INT16_MAX);
}

void IPlugVST::AttachEditor(IEditorLink* editor)
{
    if (editor == nullptr)
        return;
    PlugLockGuard guard(*this);
    IPlugBase::AttachEditor(editor);
    // A host may open only what it is offered: the flag follows what effEditOpen can show.
    if (HasEditorWindow())
        mEffect.flags |= effFlagsHasEditor;
    else
        mEffect.flags &= ~effFlagsHasEditor;
    UpdateEditorRect();
}

void IPlugVST::RequestEditorResize(int, int)
{
    if (GetGUI() == nullptr)
        return;
    UpdateEditorRect();
    EditorResized();
}

void IPlugVST::SetLatencySamples(int samples)
{
    mEffect.initialDelay = std::max(samples, 0);
    IPlugBase::SetLatencySamples(samples);
}

bool IPlugVST::SendMidiToHost(const MidiMessage& msg)
{
    if (!DoesMidi())
        return false;
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = (VstInt32) sizeof(VstMidiEvent);
    event.deltaFrames = msg.offset;
    event.midiData[0] = (char) msg.status;
    event.midiData[1] = (char) msg.data1;
    event.midiData[2] = (char) msg.data2;
    VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&event);
    return CallHost(audioMasterProcessEvents, 0, 0, &events) == 1;
}

bool IPlugVST::SendSysExToHost(const SysExMessage& msg)
{
    if (!DoesMidi() || msg.data == nullptr || msg.size < 0)
        return false;
    VstMidiSysexEvent event{};
    event.type = kVstSysExType;
    event.byteSize = (VstInt32) sizeof(VstMidiSysexEvent);
    event.deltaFrames = msg.offset;
    event.dumpBytes = msg.size;
    event.sysexDump = const_cast<char*>(reinterpret_cast<const char*>(msg.data));
    VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&event);
    return CallHost(audioMasterProcessEvents, 0, 0, &events) == 1;
}
