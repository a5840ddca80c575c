// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in object a VST 2.4 host sees: the AEffect record whose function pointers forward to
// this class, the dispatcher, the processing and parameter entries, the chunks, and the
// plug-in base's host-facing operations as calls of the host callback. Every entry is a guard
// and a forward to IPlugBase; the effect derives from this class in the VST2 plug-in.
//
// Threads: the host processes on its audio thread and calls the dispatcher and the parameter
// entries from its user-interface thread or others. Every one of those entries holds the
// plug-in lock for its whole call. The host is never called back while an editor edit holds the
// lock (IPlugBase::SetParamFromEditor); gestures come from the editor without it.
#pragma once

#include "IPlugBase.h"
#include "Vst2Interface.h"

class IPlugVST : public IPlugBase
{
public:
    // The largest block the scratch buffers are prepared for, whatever the host announces;
    // longer blocks are processed in pieces.
    static constexpr int kMaxPreparedBlock = 1 << 16;
    static constexpr VstInt32 kVstVersion = 2400;
    static constexpr VstIntPtr kCockosAnswer = 0xBEEF;
    static constexpr VstIntPtr kCockosCanDo = 0xBEEF0000;

    // The IPlugBase constructor's arguments; the plug-in API is VST2.
    IPlugVST(int nParams, const char* channelIOStr, int nPresets, const char* effectName, const char* productName,
             const char* mfrName, int vendorVersion, int uniqueID, int mfrID, int latency, bool plugDoesMidi,
             bool plugDoesChunks, bool plugIsInst);
    ~IPlugVST() override;

    // The last step of VSTPluginMain once the effect is built: keeps the host's callback (a null
    // one is never called), fills the empty presets and hands out the record.
    AEffect* ReadyForHost(audioMasterCallback hostCallback);
    AEffect* Effect() { return &mEffect; }
    // The plug-in behind a record the host passes in, or null for anything else.
    static IPlugVST* FromEffect(AEffect* effect);

    // The host's entries; the record's function pointers call these.
    VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    // effClose: waits for a running call to end, closes the editor window, deletes the plug-in.
    static void Close(IPlugVST* plug);
    void ProcessReplacing(float** inputs, float** outputs, VstInt32 sampleFrames);
    void ProcessAccumulating(float** inputs, float** outputs, VstInt32 sampleFrames);
    void ProcessDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames);
    void SetParameter(VstInt32 index, float value);
    float GetParameter(VstInt32 index);

    // Versions as VST2 exchanges them, major * 10000 + minor * 100 + third, and back to the
    // plug-in base's layout, major << 16 | minor << 8 | third.
    static VstInt32 DecimalVersion(int version);
    static int VersionFromDecimal(VstIntPtr decimal);

    // IPlugBase operations that talk to the host.
    void ParamChanged(int paramIdx) override;
    void BeginParamGesture(int paramIdx) override;
    void NotifyHostParamValue(int paramIdx, double normalized) override;
    void EndParamGesture(int paramIdx) override;
    void NotifyHostPresetChanged() override;
    bool IsOfflineRender() override;
    int GetSamplePosition() override;
    double GetTempoBpm() override;
    void GetTimeSignature(int& numerator, int& denominator) override;
    void GetTransportInfo(TransportInfo& info) override;
    int GetHostId() override;
    void RequestEditorResize(int width, int height) override;
    void InitForHost() override;
    void AttachEditor(IEditorLink* editor) override;
    void SetLatencySamples(int samples) override;
    // MIDI goes to the host only from a plug-in that declares it; this one echoes nothing.
    bool SendMidiToHost(const MidiMessage& msg) override;
    bool SendSysExToHost(const SysExMessage& msg) override;

private:
    // The one way to the host; answers 0 without a callback.
    VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);
    const VstTimeInfo* HostTime(VstInt32 mask);

    bool HasEditorWindow() const;
    void UpdateEditorRect();
    VstIntPtr EditGetRect(void* ptr);
    VstIntPtr EditOpen(void* parent);
    VstIntPtr EditClose();

    VstIntPtr String2Parameter(VstInt32 index, const char* text);
    VstIntPtr PinProperties(VstInt32 index, void* ptr, bool input);
    VstIntPtr SetSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output);
    VstIntPtr GetSpeakerArrangement(VstIntPtr inputTarget, void* outputTarget);
    VstIntPtr ProcessEvents(const VstEvents* events);
    VstIntPtr CanDo(const char* text) const;
    VstIntPtr VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
    // type and channel count of an arrangement of this many channels, its speakers zeroed.
    static void FillArrangement(VstSpeakerArrangement& arrangement, int channels);
    // Connects channels 0 .. n-1 of one side and runs the rest on their own zeroed scratch.
    void ConnectFirstInputs(int n);
    void ConnectFirstOutputs(int n);

    VstIntPtr GetChunk(bool bank, void* ptr);
    VstIntPtr SetChunk(bool bank, VstIntPtr size, const void* ptr);
    bool RestoreProgram(const IStateChunk& chunk, int pos);
    bool RestoreBank(const IStateChunk& chunk, int pos);

    ERect mEditRect{};
    audioMasterCallback mHostCallback = nullptr;
    VstSpeakerArrangement mInputArrangement{};
    VstSpeakerArrangement mOutputArrangement{};
    bool mHostSetUpDone = false;
    bool mEditorWindowOpen = false;
    IStateChunk mProgramChunk; // the last block handed to the host, valid until the next of its kind
    IStateChunk mBankChunk;
    // Set while a restore runs; the effect's ParamChanged calls show that it took a state.
    bool mRestoring = false;
    bool mRestoreApplied = false;
    AEffect mEffect{};
};
