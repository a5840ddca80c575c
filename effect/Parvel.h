// SPDX-License-Identifier: GPL-3.0-or-later
// The effect: a four-band equaliser with shelf switches, high-pass and low-pass cut filters,
// an output gain and a 32-band analyser. It derives from the binding of its deliverable
// (ParvelBinding, chosen at compile time by the include path), which derives from IPlugBase;
// one object per plug-in instance is binding, framework base and effect at once.
//
// Threads: the binding calls RenderBlock on the audio thread and the state, sample-rate,
// block-size and editor hooks on the host's user-interface thread, with the plug-in lock held
// wherever the binding holds it. The editor reads the options, the filter records and the
// analyser without the lock; all of those are relaxed atomics.
#pragma once

#include "BandAnalyser.h"
#include "BandSection.h"
#include "CutFilterChain.h"
#include "EditorOptions.h"
#include "EffectDefaults.h"
#include "ParvelBinding.h"
#include "ParvelParams.h"
#include "XmlStateBlob.h"

class IControl;
class AnalyserView;

class Parvel : public ParvelBinding
{
public:
    static constexpr int kChunkFrames = 128; // the audio runs through the filters in chunks of this many frames
    static constexpr double kAnalyserMinHz = 20.0;
    static constexpr double kAnalyserMaxHz = 20000.0;

    // Reads the user's defaults from the settings file, defines the 25 parameters from them
    // and takes the default editor size. Never fails: a missing or damaged file gives the
    // factory values and size 0.
    Parvel();
    ~Parvel() override;

    // Equalises one block: nFrames samples of inputs[0..1] into outputs[0..1], in chunks of
    // kChunkFrames, with flush-to-zero on. A null inputs[1] reads inputs[0]; a null outputs[1]
    // is not written. Audio thread, lock held, allocation-free, any nFrames.
    void RenderBlock(double** inputs, double** outputs, int nFrames) override;

    // Brings every section up to date with the parameters, the shelf switches and the sample
    // rate (redesigning only what changed) and computes the output gain factor. Called by
    // RenderBlock and by the band sorting, with the lock held.
    void UpdateFilters();

    // Appends the XML state blob; always true.
    bool SerializeEffectState(IStateChunk& chunk) override;
    // Restores from the bytes from startPos to the end of chunk and returns their count. A
    // chunk that does not hold a readable state changes nothing. A startPos outside the chunk
    // returns -1.
    int UnserializeEffectState(const IStateChunk& chunk, int startPos) override;

    void EditorOpened() override;
    void EditorClosed() override;
    void EditorResized() override;

    // Stores the rate and rebuilds the analyser's bands for it (also while the analyser is off).
    // Rates that are not finite and positive change nothing.
    void ChangeSampleRate(double rate) override;
    // The base's scratch buffers, then the analyser's sample buffer.
    void ChangeBlockSize(int n) override;

    EditorOptions& Options() { return options; }
    const EditorOptions& Options() const { return options; }
    bool AnalyserOn() const { return analyser.enabled; }
    // Switching the analyser on from off starts it from silence.
    void SetAnalyserOn(bool on);

    const CutFilterChain& HighPass() const { return highPass; }
    const CutFilterChain& LowPass() const { return lowPass; }
    const BandSection& Band(int k) const { return bands[k]; }
    BandAnalyser& Analyser() { return analyser; }
    const BandAnalyser& Analyser() const { return analyser; }
    double OutputGainFactor() const { return outputGainFactor; }

    // Every parameter value and saved option, as the state holds them.
    StateSnapshot CaptureState() const;
    // The options that per-user defaults capture.
    EditorOptionValues CaptureOptionValues() const;

    // References into the editor's current layout; null while there is no editor.
    IControl* gainDisplay = nullptr;
    IControl* sizeButton = nullptr;
    IControl* freqDisplay = nullptr;
    AnalyserView* analyserView = nullptr;

private:
    double ParamValue(int idx) const { return Param(idx)->Value(); }
    bool ParamOn(int idx) const { return Param(idx)->Value() >= 0.5; }
    void ApplyState(const StateUpdate& u);

    EditorOptions options;
    CutFilterChain highPass;
    CutFilterChain lowPass;
    BandSection bands[kNumBands];
    BandAnalyser analyser;
    double outputGainFactor = 1.0;
};
