// SPDX-License-Identifier: GPL-3.0-or-later
#include "IPlugVST3.h"

#include "IPlugParameter.h"
#include "IPlugVST3View.h"
#include "Vst3Text.h"

#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

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
            addAudioInput(label, SpeakerArrangementFor(nIn));
        }
        Vst3Text::Widen(OutputBusLabel(0), label, 128);
        addAudioOutput(label, SpeakerArrangementFor(NOutChannels()));

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
