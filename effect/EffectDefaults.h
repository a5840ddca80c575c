// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user defaults of a new instance: factory values, their XML form in the settings file's
// DEFAULTS element, and their capture from a running effect. The file itself lives in SettingsFile.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "EditorOptionValues.h"
#include "ParvelInfo.h"

namespace juce
{
class XmlElement;
}
class IPlugBase;


struct EffectDefaults
{
    static constexpr int kNumBands = 4; // Low, LoMid, HiMid, High
    static constexpr int kNumCuts = 2;  // high-pass, low-pass
    static constexpr const char* kDefaultsTag = "DEFAULTS";

    std::array<bool, kNumBands> bandOn { false, false, false, false };
    std::array<double, kNumBands> freq { 100.0, 750.0, 3000.0, 10000.0 };
    std::array<double, kNumBands> q { 0.707, 0.707, 0.707, 0.707 };
    std::array<double, kNumBands> gain { 0.0, 0.0, 0.0, 0.0 };
    bool loShelf = false;
    bool hiShelf = false;
    std::array<bool, kNumCuts> cutOn { false, false };
    std::array<double, kNumCuts> cutFreq { 20.0, 20000.0 };
    std::array<int32_t, kNumCuts> cutOrder { 0, 0 };
    double outputGain = 0.0;
    bool showGain = false;
    bool showBgText = true;
    float magRange = 24.0f;
    bool showAnalyser = false;
    bool analyserPre = true;
    float analyserTop = 10.0f;
    float analyserRange = 60.0f;

    // Fills d from root (when root is named "DEFAULTS") or from root's first child named exactly
    // "DEFAULTS"; a null root or one without such a child changes nothing. Each present attribute
    // replaces its field. A number that is not finite keeps the field's value; a finite one outside
    // the field's range is clamped into it, so every default is a legal parameter or option value.
    static void ReadDefaults(const juce::XmlElement* root, EffectDefaults& d);

    // A new "DEFAULTS" element holding every field, in the file's attribute order.
    static std::unique_ptr<juce::XmlElement> BuildDefaultsElement(const EffectDefaults& d);

    // Factory values when effect is null; otherwise the effect's 25 parameter values by index and
    // its editor options. Called on the user-interface thread.
    static EffectDefaults CaptureDefaults(const IPlugBase* effect, const EditorOptionValues& options = {});

    // The same from plain parameter values (index order of the parameter table).
    static EffectDefaults CaptureDefaults(const std::array<double, ParvelInfo::kNumParams>& paramValues, const EditorOptionValues& options);
};
