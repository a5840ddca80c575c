// SPDX-License-Identifier: GPL-3.0-or-later
// One object that is VST3 component (IComponent, IAudioProcessor) and edit controller at once.
// It keeps the audio and event bus lists and the last process setup; a derived plug-in
// declares its buses in initialize and answers the processing calls. The host may query
// IComponent, IAudioProcessor, IEditController, IEditController2, IConnectionPoint and
// IPluginBase from it.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

class SingleComponentEffect : public Steinberg::Vst::EditController,
                              public Steinberg::Vst::IComponent,
                              public Steinberg::Vst::IAudioProcessor
{
public:
    SingleComponentEffect();
    ~SingleComponentEffect() override;

    // IPluginBase, shared by the component and the controller side. A second initialize before
    // terminate is refused even when no host context was given, so buses and parameters are
    // declared once.
    Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API terminate() SMTG_OVERRIDE;

    // IEditController: an index outside the list is refused (the container itself would throw).
    Steinberg::tresult PLUGIN_API getParameterInfo(Steinberg::int32 paramIndex,
                                                   Steinberg::Vst::ParameterInfo& info) SMTG_OVERRIDE;

    // IComponent
    Steinberg::tresult PLUGIN_API getControllerClassId(Steinberg::TUID classId) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API setIoMode(Steinberg::Vst::IoMode mode) SMTG_OVERRIDE;
    Steinberg::int32 PLUGIN_API getBusCount(Steinberg::Vst::MediaType type,
                                            Steinberg::Vst::BusDirection dir) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API getBusInfo(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                             Steinberg::int32 index, Steinberg::Vst::BusInfo& info) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API getRoutingInfo(Steinberg::Vst::RoutingInfo& inInfo,
                                                 Steinberg::Vst::RoutingInfo& outInfo) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API activateBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                              Steinberg::int32 index, Steinberg::TBool state) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) SMTG_OVERRIDE;
    // One pair serves IComponent and IEditController: component and controller state are the same.
    Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* state) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* state) SMTG_OVERRIDE;

    // IAudioProcessor
    Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                     Steinberg::int32 numIns,
                                                     Steinberg::Vst::SpeakerArrangement* outputs,
                                                     Steinberg::int32 numOuts) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API getBusArrangement(Steinberg::Vst::BusDirection dir, Steinberg::int32 index,
                                                    Steinberg::Vst::SpeakerArrangement& arr) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API setProcessing(Steinberg::TBool state) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE;

    OBJ_METHODS(SingleComponentEffect, EditController)
    DEFINE_INTERFACES
        DEF_INTERFACE(Steinberg::Vst::IComponent)
        DEF_INTERFACE(Steinberg::Vst::IAudioProcessor)
    END_DEFINE_INTERFACES(EditController)
    REFCOUNT_METHODS(EditController)

protected:
    // A bus flagged kDefaultActive starts active, so a host that never calls activateBus
    // still hears the plug-in; activateBus switches it either way.
    Steinberg::Vst::AudioBus* addAudioInput(const Steinberg::Vst::TChar* name, Steinberg::Vst::SpeakerArrangement arr,
                                            Steinberg::Vst::BusType type = Steinberg::Vst::kMain,
                                            Steinberg::int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
    Steinberg::Vst::AudioBus* addAudioOutput(const Steinberg::Vst::TChar* name, Steinberg::Vst::SpeakerArrangement arr,
                                             Steinberg::Vst::BusType type = Steinberg::Vst::kMain,
                                             Steinberg::int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
    void removeAudioInputBusses();
    void removeAudioOutputBusses();

    // The list for a media type and direction, or null for values no host should send.
    Steinberg::Vst::BusList* getBusList(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir);
    // The bus at index, or null when the index is outside the list.
    Steinberg::Vst::Bus* getBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                Steinberg::int32 index);

    Steinberg::Vst::ProcessSetup processSetup;
    Steinberg::Vst::BusList audioInputs;
    Steinberg::Vst::BusList audioOutputs;
    Steinberg::Vst::BusList eventInputs;
    Steinberg::Vst::BusList eventOutputs;

private:
    bool initialized = false;
};
