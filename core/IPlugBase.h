// SPDX-License-Identifier: GPL-3.0-or-later
// The host-independent plug-in base. A binding (VST3, VST2, the test binding) derives from
// it, implements the host-facing operations and forwards host calls into it; the effect
// derives from the binding and overrides the processing, state and editor hooks.
//
// Threads: the host's audio thread processes, its user-interface thread runs the editor,
// parameter edits and state calls. The recursive plug-in lock serialises them; a binding
// holds it for a whole processing call. Parameter values and the bypass flag are relaxed
// atomics because the editor and some host calls read or write them without the lock.
//
// Nothing here throws: allocation failures are absorbed and reported as return values.
#pragma once

#include "ChannelRecords.h"
#include "HostMessages.h"
#include "IEditorLink.h"
#include "ILatencyDelayLine.h"
#include "IParamSpec.h"
#include "IPresetSlot.h"
#include "IStateChunk.h"
#include "PlugLockGuard.h"
#include "TransportInfo.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

enum class PluginApi : int
{
    VST2 = 0,
    VST3 = 1,
};

class IPlugBase
{
public:
    static constexpr int kNameSize = 128;     // effect, product and maker names: at most 127 characters
    static constexpr int kBusLabelSize = 128; // bus labels: at most 127 characters

    IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
              const char* productName, const char* mfrName, int vendorVersion, int uniqueID, int mfrID,
              int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst, PluginApi api);
    IPlugBase(const IPlugBase&) = delete;
    IPlugBase& operator=(const IPlugBase&) = delete;

    // Virtual operations, in slot order.
    virtual ~IPlugBase();
    virtual void RestartProcessing();
    virtual void ParamChanged(int paramIdx);
    // Copies input i to output i for every output with an input of the same index, zeros
    // elsewhere. Null pointers: a null input reads as silence, a null output is skipped.
    virtual void RenderBlock(double** inputs, double** outputs, int nFrames);
    virtual void EditorOpened() {}
    virtual void EditorClosed() {}
    virtual void ActivationChanged(bool active);
    virtual void HandleMidiMessage(const MidiMessage& msg);
    virtual void HandleSysEx(const SysExMessage& msg);
    // Writes an empty name into name (capacity bytes) and returns false.
    virtual bool GetMidiNoteName(int note, char* name, int capacity);
    virtual bool SerializeEffectState(IStateChunk& chunk);
    virtual int UnserializeEffectState(const IStateChunk& chunk, int startPos);
    virtual void EditorResized() {}
    virtual void HostIdentified() {}
    virtual void ShowHostParamMenu(int paramIdx, int x, int y);
    // Stores the value and calls ParamChanged under the lock, then tells the host without it.
    virtual void SetParamFromEditor(int paramIdx, double normalized);
    virtual void BeginParamGesture(int paramIdx) = 0;
    virtual void NotifyHostParamValue(int paramIdx, double normalized) = 0;
    virtual void EndParamGesture(int paramIdx) = 0;
    virtual void NotifyHostPresetChanged() = 0;
    virtual bool IsOfflineRender() { return false; }
    virtual int GetSamplePosition() = 0;
    virtual double GetTempoBpm() = 0;
    virtual void GetTimeSignature(int& numerator, int& denominator) = 0;
    virtual void GetTransportInfo(TransportInfo& info) = 0;
    virtual int GetHostId() { return mHostId; }
    virtual PluginApi GetPluginApi() { return mApi; }
    virtual void RequestEditorResize(int width, int height) = 0;
    virtual void InitForHost() {}
    // Takes ownership. Pushes every parameter's normalised value into the editor's controls
    // and prepares its drawing surfaces, under the lock. A null editor changes nothing; a new
    // editor replaces (and deletes) the one attached before.
    virtual void AttachEditor(IEditorLink* editor);
    virtual void SetLatencySamples(int samples);
    virtual bool SendMidiToHost(const MidiMessage& msg) = 0;
    virtual bool SendSysExToHost(const SysExMessage& msg);
    virtual void RefreshParamControls();
    virtual void PresetChanged() {}
    // Rates that are not finite and positive are ignored.
    virtual void ChangeSampleRate(double rate);
    // Resizes and zeroes every scratch buffer; the same size changes nothing. Negative counts
    // as 0. When the buffers cannot be allocated the block size becomes 0 and processing
    // through the adapter renders silence.
    virtual void ChangeBlockSize(int n);

    // Lock.
    void Lock() const { mLock.lock(); }
    void Unlock() const { mLock.unlock(); }
    std::recursive_mutex& PlugLock() const { return mLock; }

    // Channel configurations and host identity.
    bool LegalIO(int nIn, int nOut) const;
    static int LookUpHostId(const char* name);
    void IdentifyHost(const char* name, int version);

    // Processing adapter, called once per block with the lock held. Host buffers are
    // connected for one block only: at the end of every Process or Bypass call the adapter
    // forgets them and points every data pointer back at its channel's scratch.
    // Blocks longer than the prepared block size are rendered in pieces of at most the block
    // size (the scratch never grows on the audio thread), so RenderBlock never sees more
    // frames than ChangeBlockSize announced. Per piece, a data pointer on the channel's own
    // scratch (or null) stays there, float inputs are converted piece by piece, and any other
    // data pointer is taken as a host buffer of the whole block and advanced by the offset.
    // In double precision, connect with the double forms and call ProcessDoubleBlock or
    // BypassDoubleBlock rather than RenderBlock, so that oversized blocks stay in bounds.
    // A null host buffer reads as silence or is not written. Without a prepared block size
    // nothing is rendered: float destinations get zeros (left as they are when adding),
    // double destinations get zeros.
    void ConnectInputs(int first, int count, const float* const* buffers, int nFrames);
    void ConnectInputs(int first, int count, double* const* buffers);
    void ConnectOutputs(int first, int count, float* const* buffers);
    void ConnectOutputs(int first, int count, double* const* buffers);
    void ProcessFloatBlock(int nFrames);
    void ProcessFloatBlockAdding(int nFrames);
    void BypassFloatBlock(int nFrames);
    // Double-precision counterparts for channels connected with the double forms.
    void ProcessDoubleBlock(int nFrames);
    void BypassDoubleBlock(int nFrames);
    void ClearScratch();

    // Parameters.
    int ParamCount() const { return (int) mParams.size(); }
    IParamSpec* Param(int idx) const;
    int NParamGroups() const { return (int) mParamGroups.size(); }

    // State and presets.
    bool SerializeParams(IStateChunk& chunk);
    int UnserializeParams(const IStateChunk& chunk, int startPos);
    bool LoadPreset(int idx);
    const char* PresetName(int idx) const;
    void ModifyCurrentPreset(const char* name = nullptr);
    void FillEmptyPresets(int n);
    bool SerializePresets(IStateChunk& chunk);
    int UnserializePresets(const IStateChunk& chunk, int startPos);
    int PresetCount() const { return (int) mPresets.size(); }
    IPresetSlot* Preset(int idx) const;
    int CurrentPresetIdx() const { return mCurrentPresetIdx; }

    // Bus labels; an index below 0 counts as 0, one at or past the end appends.
    void SetInputBusLabel(int idx, const char* label);
    void SetOutputBusLabel(int idx, const char* label);
    int NInputBusLabels() const { return (int) mInputBusLabels.size(); }
    int NOutputBusLabels() const { return (int) mOutputBusLabels.size(); }
    const char* InputBusLabel(int idx) const;  // "" when there is none
    const char* OutputBusLabel(int idx) const; // "" when there is none

    // Channels.
    int NChannelIO() const { return (int) mChannelIO.size(); }
    const ChannelIOPair* ChannelIO(int idx) const;
    int NInChannels() const { return (int) mInChannels.size(); }
    int NOutChannels() const { return (int) mOutChannels.size(); }
    InputChannel* InChannel(int idx);
    OutputChannel* OutChannel(int idx);
    double** InData() { return mInData.data(); }
    double** OutData() { return mOutData.data(); }
    // Creates the delay line for (input channels, output channels) with the current latency.
    void CreateLatencyDelayLine();
    ILatencyDelayLine* LatencyDelayLine() const { return mDelayLine.get(); }

    // Fields.
    const char* GetEffectName() const { return mEffectName; }
    const char* GetProductName() const { return mProductName; }
    const char* GetMfrName() const { return mMfrName; }
    int GetUniqueID() const { return mUniqueID; }
    int GetMfrID() const { return mMfrID; }
    int GetEffectVersion() const { return mVersion; }
    int GetHostVersion() const { return mHostVersion; }
    bool DoesStateChunks() const { return mStateChunks; }
    bool IsInstrument() const { return mIsInst; }
    bool DoesMidi() const { return mDoesMidi; }
    bool IsBypassed() const { return mBypassed.load(std::memory_order_relaxed); }
    void SetBypassed(bool bypassed) { mBypassed.store(bypassed, std::memory_order_relaxed); }
    double GetSampleRate() const { return mSampleRate.load(std::memory_order_relaxed); }
    int GetBlockSize() const { return mBlockSize; }
    int GetLatency() const { return mLatency; }
    int GetTailSize() const { return mTailSize; }
    void SetTailSize(int samples) { mTailSize = samples < 0 ? 0 : samples; }
    IEditorLink* GetGUI() const { return mEditor.get(); }

private:
    enum class PieceMode
    {
        Render,
        Bypass,
    };
    enum class FloatOut
    {
        Replace,
        Add,
        None,
    };
    void ParseChannelIO(const char* text);
    void ProcessPieces(int nFrames, PieceMode mode, FloatOut floatOut);
    void CaptureBases();
    void ConnectPiece(int offset, int nFrames);
    void WriteFloatOutputs(int offset, int nFrames, FloatOut floatOut);
    void SilenceOutputs(int nFrames, FloatOut floatOut);
    void ForgetHostBuffers();
    void PointChannelsAtScratch();

    std::vector<ChannelIOPair> mChannelIO;
    mutable std::recursive_mutex mLock;
    char mEffectName[kNameSize] = {};
    char mProductName[kNameSize] = {};
    char mMfrName[kNameSize] = {};
    int mUniqueID;
    int mMfrID;
    int mVersion;
    PluginApi mApi;
    int mHostId = -1;
    int mHostVersion = 0;
    bool mStateChunks;
    bool mIsInst;
    bool mDoesMidi;
    std::atomic<bool> mBypassed{false};
    int mCurrentPresetIdx = 0;
    std::atomic<double> mSampleRate{44100.0};
    int mBlockSize = 0;
    int mLatency;
    int mTailSize = 0;
    std::unique_ptr<ILatencyDelayLine> mDelayLine;
    std::vector<std::string> mParamGroups;
    std::unique_ptr<IEditorLink> mEditor;
    std::vector<std::unique_ptr<IParamSpec>> mParams;
    std::vector<std::unique_ptr<IPresetSlot>> mPresets;
    std::vector<double*> mInData;
    std::vector<double*> mOutData;
    std::vector<std::unique_ptr<InputChannel>> mInChannels;
    std::vector<std::unique_ptr<OutputChannel>> mOutChannels;
    std::vector<std::string> mInputBusLabels;
    std::vector<std::string> mOutputBusLabels;
    // Where each channel's data pointer stood at the start of the block being processed.
    std::vector<double*> mInBase;
    std::vector<double*> mOutBase;
};
