// SPDX-License-Identifier: GPL-3.0-or-later
#include "EffectDefaults.h"

#include "IPlugBase.h"
#include "ParvelParams.h"
#include "XmlNumberText.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cmath>

namespace
{
struct Range
{
    double lo, hi;
};

// The display options share their bounds with the saved state.
constexpr Range kMagRange { kMinOptionSpanDb, kMaxOptionDb };
constexpr Range kAnalyserTopRange { -kMaxOptionDb, kMaxOptionDb };
constexpr Range kAnalyserSpanRange { kMinOptionSpanDb, kMaxOptionDb };

const char* const kBandNames[EffectDefaults::kNumBands] = { "lo", "lomid", "himid", "hi" };
const char* const kCutNames[EffectDefaults::kNumCuts] = { "locut", "hicut" };

Range ParamRange(int idx) { return { kParvelParams[idx].min, kParvelParams[idx].max }; }

// Parameter index of the field at offset (0 switch, 1 frequency, 2 Q or order, 3 gain) of a band
// or a cut filter.
int BandParam(int band, int offset) { return kBand_Low + kParamsPerBand * band + offset; }
int CutParam(int cut, int offset) { return kBand_HP + kParamsPerCut * cut + offset; }

// Every DEFAULTS attribute with its field and the range its value must lie in, in the order the
// file holds them. Reading and writing both walk this one list.
template <typename Defaults, typename Visitor>
void VisitFields(Defaults& d, Visitor&& v)
{
    for (int b = 0; b < EffectDefaults::kNumBands; ++b)
    {
        const juce::String band(kBandNames[b]);
        v.Switch("en_" + band, d.bandOn[(size_t) b]);
        v.Number("freq_" + band, d.freq[(size_t) b], ParamRange(BandParam(b, 1)));
        v.Number("q_" + band, d.q[(size_t) b], ParamRange(BandParam(b, 2)));
        v.Number("gain_" + band, d.gain[(size_t) b], ParamRange(BandParam(b, 3)));
    }
    v.Switch("loshelf", d.loShelf);
    v.Switch("hishelf", d.hiShelf);
    for (int k = 0; k < EffectDefaults::kNumCuts; ++k)
    {
        const juce::String cut(kCutNames[k]);
        v.Switch("cuten_" + cut, d.cutOn[(size_t) k]);
        v.Number("cutfreq_" + cut, d.cutFreq[(size_t) k], ParamRange(CutParam(k, 1)));
        v.Integer("cutorder" + cut, d.cutOrder[(size_t) k], ParamRange(CutParam(k, 2)));
    }
    v.Number("gain", d.outputGain, ParamRange(kGain));
    v.Switch("showgain", d.showGain);
    v.Switch("showbgtext", d.showBgText);
    v.Number("magrange", d.magRange, kMagRange);
    v.Switch("showanalyser", d.showAnalyser);
    v.Switch("annalyserpre", d.analyserPre); // the key's spelling is part of the file format
    v.Number("analysertop", d.analyserTop, kAnalyserTopRange);
    v.Number("analyserrange", d.analyserRange, kAnalyserSpanRange);
}

struct Reader
{
    const juce::XmlElement& e;

    void Switch(const juce::String& key, bool& field) const { field = e.getBoolAttribute(key, field); }

    template <typename T>
    void Number(const juce::String& key, T& field, Range r) const
    {
        if (!e.hasAttribute(key))
            return;
        const double v = XmlNumberText::ReadDouble(e.getStringAttribute(key));
        if (std::isfinite(v))
            field = (T) std::clamp(v, r.lo, r.hi);
    }

    void Integer(const juce::String& key, int32_t& field, Range r) const
    {
        if (e.hasAttribute(key))
            field = std::clamp(XmlNumberText::ReadInt(e.getStringAttribute(key)), (int) r.lo, (int) r.hi);
    }
};

struct Writer
{
    juce::XmlElement& e;

    void Switch(const juce::String& key, bool field) const { e.setAttribute(key, field ? 1 : 0); }

    template <typename T>
    void Number(const juce::String& key, T field, Range) const
    {
        e.setAttribute(key, juce::String((double) field, 20));
    }

    void Integer(const juce::String& key, int32_t field, Range) const { e.setAttribute(key, (int) field); }
};

const juce::XmlElement* FindDefaultsElement(const juce::XmlElement& root)
{
    if (root.getTagName() == EffectDefaults::kDefaultsTag)
        return &root;
    for (const auto* child : root.getChildIterator())
        if (child->getTagName() == EffectDefaults::kDefaultsTag)
            return child;
    return nullptr;
}
} // namespace

void EffectDefaults::ReadDefaults(const juce::XmlElement* root, EffectDefaults& d)
{
    if (root == nullptr)
        return;
    if (const juce::XmlElement* e = FindDefaultsElement(*root))
        VisitFields(d, Reader { *e });
}

std::unique_ptr<juce::XmlElement> EffectDefaults::BuildDefaultsElement(const EffectDefaults& d)
{
    auto e = std::make_unique<juce::XmlElement>(kDefaultsTag);
    VisitFields(d, Writer { *e });
    return e;
}

EffectDefaults EffectDefaults::CaptureDefaults(const IPlugBase* effect, const EditorOptionValues& options)
{
    if (effect == nullptr)
        return {};
    std::array<double, kNumParvelParams> values {}; // an effect has every record; a missing one reads 0
    for (int i = 0; i < kNumParvelParams; ++i)
        if (const IParamSpec* p = effect->Param(i))
            values[(size_t) i] = p->Value();
    return CaptureDefaults(values, options);
}

EffectDefaults EffectDefaults::CaptureDefaults(const std::array<double, kNumParvelParams>& values,
                                               const EditorOptionValues& options)
{
    auto on = [&](int idx) { return values[(size_t) idx] >= 0.5; };
    auto val = [&](int idx) { return values[(size_t) idx]; };

    EffectDefaults d;
    for (int b = 0; b < kNumBands; ++b)
    {
        d.bandOn[(size_t) b] = on(BandParam(b, 0));
        d.freq[(size_t) b] = val(BandParam(b, 1));
        d.q[(size_t) b] = val(BandParam(b, 2));
        d.gain[(size_t) b] = val(BandParam(b, 3));
    }
    d.loShelf = on(kLoShelf);
    d.hiShelf = on(kHiShelf);
    for (int k = 0; k < kNumCuts; ++k)
    {
        d.cutOn[(size_t) k] = on(CutParam(k, 0));
        d.cutFreq[(size_t) k] = val(CutParam(k, 1));
        // Truncation of a value outside int32 would be undefined; the order's range contains it.
        const Range r = ParamRange(CutParam(k, 2));
        const double order = val(CutParam(k, 2));
        d.cutOrder[(size_t) k] = (int32_t) (std::isfinite(order) ? std::clamp(order, r.lo, r.hi) : r.lo);
    }
    d.outputGain = val(kGain);
    d.magRange = options.magRange;
    d.showGain = options.showGain;
    d.showBgText = options.showBgText;
    d.analyserTop = options.analyserTop;
    d.analyserRange = options.analyserRange;
    d.showAnalyser = options.analyserOn;
    d.analyserPre = options.analyserInput;
    return d;
}
