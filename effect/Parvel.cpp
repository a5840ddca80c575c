// SPDX-License-Identifier: GPL-3.0-or-later
// Construction, the editor hooks and the sample-rate and block-size changes of the effect.
// The audio path is in ParvelRender.cpp, the saved state in ParvelState.cpp.
#include "Parvel.h"

#include "SettingsFile.h"

#include <cmath>
#include <exception>

Parvel::Parvel()
    : ParvelBinding(ParvelInfo::kNumParams, ParvelInfo::kChannelIO, ParvelInfo::kNumPresets,
                    ParvelInfo::kEffectName, ParvelInfo::kProductName, ParvelInfo::kMakerName,
                    ParvelInfo::kVersion, ParvelInfo::kUniqueId, ParvelInfo::kMakerId, ParvelInfo::kLatency,
                    ParvelInfo::kDoesMidi, ParvelInfo::kStateChunks, ParvelInfo::kIsInstrument)
{
    const EffectDefaults d = SettingsFile::LoadDefaults();

    analyser.enabled = d.showAnalyser;
    options.analyserInput = d.analyserPre;
    options.analyserTop = d.analyserTop;
    options.analyserRange = d.analyserRange;

    DefineParvelParams(*this, d);

    options.magRange = d.magRange;
    options.showGain = d.showGain;
    options.showBgText = d.showBgText;

    options.sizeIndex = EditorOptions::ClampSize(SettingsFile::LoadDefaultSize());
}

Parvel::~Parvel() = default;

void Parvel::EditorOpened()
{
    // Without a graphics core there is nothing to resize; the size takes effect when one is built.
    options.editorOpen = true;
}

void Parvel::EditorClosed() { options.editorOpen = false; }

void Parvel::EditorResized() {}

void Parvel::ChangeSampleRate(double rate)
{
    if (! std::isfinite(rate) || rate <= 0.0)
        return;
    ParvelBinding::ChangeSampleRate(rate);
    analyser.BuildBands(kAnalyserMinHz, kAnalyserMaxHz, GetSampleRate());
}

void Parvel::ChangeBlockSize(int n)
{
    ParvelBinding::ChangeBlockSize(n);
    // The base falls back to 0 when its buffers cannot be had; the analyser follows it, and
    // without a buffer of its own it simply stays idle.
    const int frames = GetBlockSize();
    if (frames == analyser.BlockLength())
        return;
    try
    {
        analyser.SetBlockLength(frames);
    }
    catch (const std::exception&)
    {
        analyser.SetBlockLength(0);
    }
}

void Parvel::SetAnalyserOn(bool on)
{
    if (on && ! analyser.enabled)
        analyser.ResetLevels();
    analyser.enabled = on;
}

StateSnapshot Parvel::CaptureState() const
{
    StateSnapshot s;
    s.options = CaptureOptionValues();
    for (int i = 0; i < kNumParvelParams; ++i)
        s.values[(size_t) i] = ParamValue(i);
    return s;
}

EditorOptionValues Parvel::CaptureOptionValues() const
{
    EditorOptionValues v;
    v.sizeIndex = options.sizeIndex;
    v.showGain = options.showGain;
    v.showBgText = options.showBgText;
    v.magRange = options.magRange;
    v.analyserOn = analyser.enabled;
    v.analyserInput = options.analyserInput;
    v.analyserTop = options.analyserTop;
    v.analyserRange = options.analyserRange;
    return v;
}
