// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in object a VST3 host sees: processor and controller in one (SingleComponentEffect)
// on top of the plug-in base. Every host call is a guard and a forward to IPlugBase; the
// effect derives from this class in the VST3 module.
//
// Threads: process runs on the host's audio thread, everything else on its user-interface
// thread. process, getState, setState, setupProcessing and setBusArrangements hold the
// plug-in lock for the whole call; setParamNormalized writes the record without it (the
// record's value is a relaxed atomic). process allocates nothing.
#pragma once

#include "IPlugBase.h"
#include "SingleComponentEffect.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <vector>

class IPlugVST3View;

class IPlugVST3 : public IPlugBase, public SingleComponentEffect
{
public:
    static constexpr Steinberg::Vst::ParamID kPresetParamId = 0x70727374; // 'prst'
    static constexpr Steinberg::Vst::ParamID kBypassParamId = 0x62706173; // 'bpas'
    // The largest block the scratch buffers are prepared for, whatever the host announces.
    static constexpr int kMaxPreparedBlock = 1 << 16;

    // The IPlugBase constructor's arguments; the plug-in API is VST3.
    IPlugVST3(int nParams, const char* channelIOStr, int nPresets, const char* effectName, const char* productName,
              const char* mfrName, int vendorVersion, int uniqueID, int mfrID, int latency, bool plugDoesMidi,
              bool plugDoesChunks, bool plugIsInst);
    ~IPlugVST3() override;

    // IPluginBase
    Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;

    // IComponent
    Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* state) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* state) SMTG_OVERRIDE;

    // IAudioProcessor
    Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                     Steinberg::int32 numIns,
                                                     Steinberg::Vst::SpeakerArrangement* outputs,
                                                     Steinberg::int32 numOuts) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API setProcessing(Steinberg::TBool state) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;

    // IEditController
    Steinberg::tresult PLUGIN_API setComponentState(Steinberg::IBStream* state) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value,
                                                        Steinberg::Vst::String128 string) SMTG_OVERRIDE;
    Steinberg::Vst::ParamValue PLUGIN_API plainParamToNormalized(Steinberg::Vst::ParamID id,
                                                                 Steinberg::Vst::ParamValue plain) SMTG_OVERRIDE;
    Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID id,
                                                     Steinberg::Vst::ParamValue value) SMTG_OVERRIDE;
    Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) SMTG_OVERRIDE;

    // IPlugBase operations that talk to the host.
    void ParamChanged(int paramIdx) override;
    void BeginParamGesture(int paramIdx) override;
    void NotifyHostParamValue(int paramIdx, double normalized) override;
    void EndParamGesture(int paramIdx) override;
    void NotifyHostPresetChanged() override {}
    bool IsOfflineRender() override;
    int GetSamplePosition() override;
    double GetTempoBpm() override;
    void GetTimeSignature(int& numerator, int& denominator) override;
    void GetTransportInfo(TransportInfo& info) override;
    void SetLatencySamples(int samples) override;
    void ShowHostParamMenu(int paramIdx, int x, int y) override;
    void RequestEditorResize(int width, int height) override;
    bool SendMidiToHost(const MidiMessage&) override { return false; }

    // The views createView made, oldest first; the list does not own them. A view empties the
    // whole list when it is destroyed.
    int NViews() const { return (int) mViews.size(); }
    IPlugVST3View* FirstView() const { return mViews.empty() ? nullptr : mViews.front(); }
    void ClearViews() { mViews.clear(); }

    OBJ_METHODS(IPlugVST3, SingleComponentEffect)

private:
    // The speaker arrangement of a bus of this many channels; the empty one beyond six.
    static Steinberg::Vst::SpeakerArrangement SpeakerArrangementFor(int channels);
    void ApplyAutomation(Steinberg::Vst::IParameterChanges* changes);
    // Marks input channels 0 .. nConnected-1 connected, the rest unconnected on their scratch.
    void ConnectInputFlags(int nConnected);
    void DisconnectOutput(int channel);
    // Connects input bus 0 and every host output bus (Sample: float or double) for one block.
    template <typename Sample>
    void ConnectBuses(Steinberg::Vst::ProcessData& data);

    Steinberg::Vst::ProcessContext mProcessContext{};
    std::vector<IPlugVST3View*> mViews;
    // Set while setState restores the effect state; ParamChanged during it marks the state as applied.
    bool mRestoring = false;
    bool mRestoreApplied = false;
};
