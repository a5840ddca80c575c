// SPDX-License-Identifier: GPL-3.0-or-later
#include "IPlugBase.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

namespace
{
void CopyName(char (&dst)[IPlugBase::kNameSize], const char* src)
{
    size_t n = src ? std::strlen(src) : 0;
    if (n > (size_t) IPlugBase::kNameSize - 1)
        n = (size_t) IPlugBase::kNameSize - 1;
    if (n > 0)
        std::memcpy(dst, src, n);
    dst[n] = '\0';
}

std::string BusLabel(const char* text)
{
    std::string label = text ? text : "";
    if (label.size() > (size_t) IPlugBase::kBusLabelSize - 1)
        label.resize((size_t) IPlugBase::kBusLabelSize - 1);
    return label;
}

void SetLabel(std::vector<std::string>& labels, int idx, const char* text)
{
    if (idx < 0)
        idx = 0;
    if (idx < (int) labels.size())
        labels[(size_t) idx] = BusLabel(text);
    else
        labels.push_back(BusLabel(text));
}

const char* LabelAt(const std::vector<std::string>& labels, int idx)
{
    if (idx < 0 || idx >= (int) labels.size())
        return "";
    return labels[(size_t) idx].c_str();
}

struct HostEntry
{
    const char* substring;
    int id;
};

// Order matters: the first substring found wins ("cubase" before "nuendo", "live" late
// because it occurs inside other names).
constexpr HostEntry kHosts[] = {
    {"cubase", 3},       {"reaper", 1},       {"nuendo", 4},     {"cakewalk", 5},
    {"samplitude", 8},   {"fruity", 7},       {"live", 9},       {"melodyne", 12},
    {"vstmanlib", 13},   {"aulab", 14},       {"garageband", 22}, {"forte", 15},
    {"chainer", 16},     {"audition", 17},    {"orion", 18},     {"sawstudio", 20},
    {"logic", 21},       {"digital", 23},     {"audiomulch", 25}, {"presonus", 26},
    {"vst3plugintesthost", 27}, {"protools", 2}, {"ardour", 28}, {"openmpt", 30},
    {"renoise", 29},     {"standalone", 24},
};
} // namespace

IPlugBase::IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* mfrName, int vendorVersion, int uniqueID, int mfrID,
                     int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst, PluginApi api)
    : mUniqueID(uniqueID),
      mMfrID(mfrID),
      mVersion(vendorVersion),
      mApi(api),
      mStateChunks(plugDoesChunks),
      mIsInst(plugIsInst),
      mDoesMidi(plugDoesMidi),
      mLatency(latency < 0 ? 0 : latency)
{
    for (int i = 0; i < nParams; ++i)
        mParams.push_back(std::make_unique<IParamSpec>());
    for (int i = 0; i < nPresets; ++i)
        mPresets.push_back(std::make_unique<IPresetSlot>("empty"));

    CopyName(mEffectName, effectName);
    CopyName(mProductName, productName);
    CopyName(mMfrName, mfrName);

    ParseChannelIO(channelIOStr);
    int nIn = 0, nOut = 0;
    for (const ChannelIOPair& pair : mChannelIO)
    {
        if (pair.inputs > nIn)
            nIn = pair.inputs;
        if (pair.outputs > nOut)
            nOut = pair.outputs;
    }
    mInData.assign((size_t) nIn, nullptr);
    mOutData.assign((size_t) nOut, nullptr);
    mInBase.assign((size_t) nIn, nullptr);
    mOutBase.assign((size_t) nOut, nullptr);
    for (int i = 0; i < nIn; ++i)
    {
        auto channel = std::make_unique<InputChannel>();
        channel->source = &mInData[(size_t) i];
        mInChannels.push_back(std::move(channel));
    }
    for (int i = 0; i < nOut; ++i)
    {
        auto channel = std::make_unique<OutputChannel>();
        channel->dest = &mOutData[(size_t) i];
        mOutChannels.push_back(std::move(channel));
    }
}

IPlugBase::~IPlugBase()
{
    // The editor's controls may still refer to the parameters and channels.
    mEditor.reset();
}

// "1-1 2-2": pairs of inputs-outputs separated by spaces; a pair that does not parse is (0, 0).
void IPlugBase::ParseChannelIO(const char* text)
{
    const char* p = text;
    while (p && *p)
    {
        ChannelIOPair pair;
        char* end = nullptr;
        const long nIn = std::strtol(p, &end, 10);
        if (end != p && *end == '-')
        {
            const char* outStart = end + 1;
            const long nOut = std::strtol(outStart, &end, 10);
            if (end != outStart)
            {
                pair.inputs = (int) nIn;
                pair.outputs = (int) nOut;
            }
        }
        mChannelIO.push_back(pair);
        p = std::strchr(p, ' ');
        if (p)
            ++p;
    }
}

void IPlugBase::RestartProcessing()
{
    PlugLockGuard lock(*this);
}

void IPlugBase::ParamChanged(int)
{
    PlugLockGuard lock(*this);
}

void IPlugBase::RenderBlock(double** inputs, double** outputs, int nFrames)
{
    if (!outputs || nFrames <= 0)
        return;
    const int nIn = NInChannels();
    for (int c = 0; c < NOutChannels(); ++c)
    {
        double* out = outputs[c];
        if (!out)
            continue;
        const double* in = (inputs && c < nIn) ? inputs[c] : nullptr;
        if (in == out)
            continue;
        if (in)
            std::memmove(out, in, (size_t) nFrames * sizeof(double));
        else
            std::memset(out, 0, (size_t) nFrames * sizeof(double));
    }
}

void IPlugBase::ActivationChanged(bool)
{
    PlugLockGuard lock(*this);
}

void IPlugBase::HandleMidiMessage(const MidiMessage& msg)
{
    SendMidiToHost(msg);
}

void IPlugBase::HandleSysEx(const SysExMessage&) {}

bool IPlugBase::GetMidiNoteName(int, char* name, int capacity)
{
    if (name && capacity > 0)
        name[0] = '\0';
    return false;
}

bool IPlugBase::SerializeEffectState(IStateChunk& chunk)
{
    return SerializeParams(chunk);
}

int IPlugBase::UnserializeEffectState(const IStateChunk& chunk, int startPos)
{
    return UnserializeParams(chunk, startPos);
}

void IPlugBase::ShowHostParamMenu(int, int, int) {}

void IPlugBase::SetParamFromEditor(int paramIdx, double normalized)
{
    IParamSpec* param = Param(paramIdx);
    if (!param)
        return;
    {
        PlugLockGuard lock(*this);
        param->SetFromNormalized(normalized);
        ParamChanged(paramIdx);
    }
    // The host hears of the edit only once the lock is released: a host that holds its own
    // lock while it waits for a block to finish would otherwise deadlock against its own
    // notification handler. The host gets the editor's value, not the one rounded to the step.
    NotifyHostParamValue(paramIdx, normalized);
}

void IPlugBase::AttachEditor(IEditorLink* editor)
{
    if (!editor)
        return;
    PlugLockGuard lock(*this);
    for (int i = 0; i < ParamCount(); ++i)
        editor->SetParamOnControls(i, mParams[(size_t) i]->NormalizedValue());
    editor->PrepareDrawingSurfaces();
    if (editor != mEditor.get())
        mEditor.reset(editor);
}

void IPlugBase::SetLatencySamples(int samples)
{
    mLatency = samples < 0 ? 0 : samples;
    if (mDelayLine)
        mDelayLine->SetDelay(mLatency);
}

bool IPlugBase::SendSysExToHost(const SysExMessage&)
{
    return false;
}

void IPlugBase::RefreshParamControls()
{
    if (!mEditor)
        return;
    for (int i = 0; i < ParamCount(); ++i)
        mEditor->PushParamToControls(i, mParams[(size_t) i]->Value(), false);
}

void IPlugBase::ChangeSampleRate(double rate)
{
    if (std::isfinite(rate) && rate > 0.0)
        mSampleRate.store(rate, std::memory_order_relaxed);
}

void IPlugBase::ChangeBlockSize(int n)
{
    if (n < 0)
        n = 0;
    if (n == mBlockSize)
        return;
    try
    {
        for (auto& channel : mInChannels)
            channel->scratch.assign((size_t) n, 0.0);
        for (auto& channel : mOutChannels)
            channel->scratch.assign((size_t) n, 0.0);
        mBlockSize = n;
    }
    catch (const std::exception&)
    {
        for (auto& channel : mInChannels)
            std::vector<double>().swap(channel->scratch);
        for (auto& channel : mOutChannels)
            std::vector<double>().swap(channel->scratch);
        mBlockSize = 0;
    }
    PointChannelsAtScratch();
}

bool IPlugBase::LegalIO(int nIn, int nOut) const
{
    for (const ChannelIOPair& pair : mChannelIO)
    {
        if ((nIn < 0 || nIn == pair.inputs) && (nOut < 0 || nOut == pair.outputs))
            return true;
    }
    return false;
}

int IPlugBase::LookUpHostId(const char* name)
{
    if (!name)
        return 0;
    std::string lower(name);
    for (char& ch : lower)
        ch = (char) std::tolower((unsigned char) ch);
    for (const HostEntry& host : kHosts)
    {
        if (lower.find(host.substring) != std::string::npos)
            return host.id;
    }
    return 0;
}

void IPlugBase::IdentifyHost(const char* name, int version)
{
    mHostId = LookUpHostId(name);
    mHostVersion = version;
}

IParamSpec* IPlugBase::Param(int idx) const
{
    if (idx < 0 || idx >= ParamCount())
        return nullptr;
    return mParams[(size_t) idx].get();
}

IPresetSlot* IPlugBase::Preset(int idx) const
{
    if (idx < 0 || idx >= PresetCount())
        return nullptr;
    return mPresets[(size_t) idx].get();
}

void IPlugBase::SetInputBusLabel(int idx, const char* label)
{
    SetLabel(mInputBusLabels, idx, label);
}

void IPlugBase::SetOutputBusLabel(int idx, const char* label)
{
    SetLabel(mOutputBusLabels, idx, label);
}

const char* IPlugBase::InputBusLabel(int idx) const
{
    return LabelAt(mInputBusLabels, idx);
}

const char* IPlugBase::OutputBusLabel(int idx) const
{
    return LabelAt(mOutputBusLabels, idx);
}

const ChannelIOPair* IPlugBase::ChannelIO(int idx) const
{
    if (idx < 0 || idx >= NChannelIO())
        return nullptr;
    return &mChannelIO[(size_t) idx];
}

InputChannel* IPlugBase::InChannel(int idx)
{
    if (idx < 0 || idx >= NInChannels())
        return nullptr;
    return mInChannels[(size_t) idx].get();
}

OutputChannel* IPlugBase::OutChannel(int idx)
{
    if (idx < 0 || idx >= NOutChannels())
        return nullptr;
    return mOutChannels[(size_t) idx].get();
}

void IPlugBase::CreateLatencyDelayLine()
{
    mDelayLine = std::make_unique<ILatencyDelayLine>(NInChannels(), NOutChannels());
    mDelayLine->SetDelay(mLatency);
}
