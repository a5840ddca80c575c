// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleComponentEffect.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

SingleComponentEffect::SingleComponentEffect()
    : audioInputs(kAudio, kInput), audioOutputs(kAudio, kOutput), eventInputs(kEvent, kInput),
      eventOutputs(kEvent, kOutput)
{
    processSetup.processMode = kRealtime;
    processSetup.symbolicSampleSize = kSample32;
    processSetup.maxSamplesPerBlock = 1024;
    processSetup.sampleRate = 44100.0;
}

SingleComponentEffect::~SingleComponentEffect() = default;

tresult PLUGIN_API SingleComponentEffect::initialize(FUnknown* context)
{
    if (initialized)
        return kResultFalse;
    const tresult result = EditController::initialize(context);
    initialized = result == kResultOk;
    return result;
}

tresult PLUGIN_API SingleComponentEffect::terminate()
{
    audioInputs.clear();
    audioOutputs.clear();
    eventInputs.clear();
    eventOutputs.clear();
    initialized = false;
    return EditController::terminate();
}

tresult PLUGIN_API SingleComponentEffect::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
    if (paramIndex < 0 || paramIndex >= parameters.getParameterCount())
        return kResultFalse;
    return EditController::getParameterInfo(paramIndex, info);
}

tresult PLUGIN_API SingleComponentEffect::getControllerClassId(TUID)
{
    return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::setIoMode(IoMode)
{
    return kNotImplemented;
}

BusList* SingleComponentEffect::getBusList(MediaType type, BusDirection dir)
{
    if (type == kAudio)
        return dir == kInput ? &audioInputs : dir == kOutput ? &audioOutputs : nullptr;
    if (type == kEvent)
        return dir == kInput ? &eventInputs : dir == kOutput ? &eventOutputs : nullptr;
    return nullptr;
}

Bus* SingleComponentEffect::getBus(MediaType type, BusDirection dir, int32 index)
{
    BusList* list = getBusList(type, dir);
    if (list == nullptr || index < 0 || index >= (int32) list->size())
        return nullptr;
    return list->at((size_t) index);
}

int32 PLUGIN_API SingleComponentEffect::getBusCount(MediaType type, BusDirection dir)
{
    BusList* list = getBusList(type, dir);
    return list ? (int32) list->size() : 0;
}

tresult PLUGIN_API SingleComponentEffect::getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& info)
{
    Bus* bus = getBus(type, dir, index);
    if (bus == nullptr)
        return kInvalidArgument;
    info.mediaType = type;
    info.direction = dir;
    return bus->getInfo(info) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::getRoutingInfo(RoutingInfo&, RoutingInfo&)
{
    return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::activateBus(MediaType type, BusDirection dir, int32 index, TBool state)
{
    Bus* bus = getBus(type, dir, index);
    if (bus == nullptr)
        return kInvalidArgument;
    bus->setActive(state);
    return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::setActive(TBool)
{
    return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::setState(IBStream*)
{
    return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::getState(IBStream*)
{
    return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::setBusArrangements(SpeakerArrangement*, int32, SpeakerArrangement*, int32)
{
    return kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr)
{
    auto* bus = FCast<AudioBus>(getBus(kAudio, dir, index));
    if (bus == nullptr)
        return kInvalidArgument;
    arr = bus->getArrangement();
    return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::canProcessSampleSize(int32 symbolicSampleSize)
{
    return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

uint32 PLUGIN_API SingleComponentEffect::getLatencySamples()
{
    return 0;
}

tresult PLUGIN_API SingleComponentEffect::setupProcessing(ProcessSetup& setup)
{
    processSetup = setup;
    return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::setProcessing(TBool)
{
    return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::process(ProcessData&)
{
    return kResultOk;
}

uint32 PLUGIN_API SingleComponentEffect::getTailSamples()
{
    return kNoTail;
}

AudioBus* SingleComponentEffect::addAudioInput(const TChar* name, SpeakerArrangement arr, BusType type, int32 flags)
{
    auto* bus = new AudioBus(name, type, flags, arr);
    bus->setActive((flags & BusInfo::kDefaultActive) != 0);
    audioInputs.push_back(IPtr<Bus>(bus, false));
    return bus;
}

AudioBus* SingleComponentEffect::addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType type, int32 flags)
{
    auto* bus = new AudioBus(name, type, flags, arr);
    bus->setActive((flags & BusInfo::kDefaultActive) != 0);
    audioOutputs.push_back(IPtr<Bus>(bus, false));
    return bus;
}

void SingleComponentEffect::removeAudioInputBusses()
{
    audioInputs.clear();
}

void SingleComponentEffect::removeAudioOutputBusses()
{
    audioOutputs.clear();
}
