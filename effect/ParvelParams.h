// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's 25 parameters: one table holds every fact about each of them (index, name,
// kind, range, step, label, mapping and where its default comes from). The effect defines its
// records from it, the state code finds parameters by its names, the bindings and the editor
// loop over it. The index is the parameter's identity towards hosts and must never change.
#pragma once

#include "IParamSpec.h"
#include "ParvelInfo.h"

#include <cstddef>

class IPlugBase;
struct EffectDefaults;

enum ParvelParam : int
{
    kBand_Low = 0,
    kFreq_Low,
    kQ_Low,
    kGain_Low,
    kBand_LoMid,
    kFreq_LoMid,
    kQ_LoMid,
    kGain_LoMid,
    kBand_HiMid,
    kFreq_HiMid,
    kQ_HiMid,
    kGain_HiMid,
    kBand_High,
    kFreq_High,
    kQ_High,
    kGain_High,
    kLoShelf,
    kHiShelf,
    kBand_HP,
    kFreq_HP,
    kOrder_HP,
    kBand_LP,
    kFreq_LP,
    kOrder_LP,
    kGain,
    kNumParvelParams
};

static_assert(kNumParvelParams == ParvelInfo::kNumParams, "the parameter enum and the product's count disagree");

// Parameters per band (switch, frequency, Q, gain) and per cut filter (switch, frequency, order).
constexpr int kParamsPerBand = 4;
constexpr int kParamsPerCut = 3;
constexpr int kNumBands = 4;
constexpr int kNumCuts = 2;

enum class ParamMapping
{
    Linear,
    Logarithmic,
};

// The EffectDefaults field a parameter's default and initial value come from; slot selects
// the band (0..3) or the cut filter (0 high-pass, 1 low-pass) for the per-band fields.
enum class DefaultSource
{
    BandOn,
    Freq,
    Q,
    Gain,
    LoShelf,
    HiShelf,
    CutOn,
    CutFreq,
    CutOrder,
    OutputGain,
};

struct ParvelParamInfo
{
    int index;
    const char* name;
    ParamKind kind;
    double min;
    double max;
    double step;
    const char* label;
    ParamMapping mapping;
    DefaultSource source;
    int slot;
};

// clang-format off
inline constexpr ParvelParamInfo kParvelParams[] = {
    {kBand_Low,   "Band_Low",   ParamKind::Bool,   0.0,   1.0,     1.0,  "",       ParamMapping::Linear,      DefaultSource::BandOn,     0},
    {kFreq_Low,   "Freq_Low",   ParamKind::Double, 20.0,  20000.0, 1.0,  "Hz",     ParamMapping::Logarithmic, DefaultSource::Freq,       0},
    {kQ_Low,      "Q_Low",      ParamKind::Double, 0.3,   12.0,    0.01, "",       ParamMapping::Logarithmic, DefaultSource::Q,          0},
    {kGain_Low,   "Gain_Low",   ParamKind::Double, -24.0, 24.0,    0.1,  "dB",     ParamMapping::Linear,      DefaultSource::Gain,       0},
    {kBand_LoMid, "Band_LoMid", ParamKind::Bool,   0.0,   1.0,     1.0,  "",       ParamMapping::Linear,      DefaultSource::BandOn,     1},
    {kFreq_LoMid, "Freq_LoMid", ParamKind::Double, 20.0,  20000.0, 1.0,  "Hz",     ParamMapping::Logarithmic, DefaultSource::Freq,       1},
    {kQ_LoMid,    "Q_LoMid",    ParamKind::Double, 0.3,   12.0,    0.01, "",       ParamMapping::Logarithmic, DefaultSource::Q,          1},
    {kGain_LoMid, "Gain_LoMid", ParamKind::Double, -24.0, 24.0,    0.1,  "dB",     ParamMapping::Linear,      DefaultSource::Gain,       1},
    {kBand_HiMid, "Band_HiMid", ParamKind::Bool,   0.0,   1.0,     1.0,  "",       ParamMapping::Linear,      DefaultSource::BandOn,     2},
    {kFreq_HiMid, "Freq_HiMid", ParamKind::Double, 20.0,  20000.0, 1.0,  "Hz",     ParamMapping::Logarithmic, DefaultSource::Freq,       2},
    {kQ_HiMid,    "Q_HiMid",    ParamKind::Double, 0.3,   12.0,    0.01, "",       ParamMapping::Logarithmic, DefaultSource::Q,          2},
    {kGain_HiMid, "Gain_HiMid", ParamKind::Double, -24.0, 24.0,    0.1,  "dB",     ParamMapping::Linear,      DefaultSource::Gain,       2},
    {kBand_High,  "Band_High",  ParamKind::Bool,   0.0,   1.0,     1.0,  "",       ParamMapping::Linear,      DefaultSource::BandOn,     3},
    {kFreq_High,  "Freq_High",  ParamKind::Double, 20.0,  20000.0, 1.0,  "Hz",     ParamMapping::Logarithmic, DefaultSource::Freq,       3},
    {kQ_High,     "Q_High",     ParamKind::Double, 0.3,   12.0,    0.01, "",       ParamMapping::Logarithmic, DefaultSource::Q,          3},
    {kGain_High,  "Gain_High",  ParamKind::Double, -24.0, 24.0,    0.1,  "dB",     ParamMapping::Linear,      DefaultSource::Gain,       3},
    {kLoShelf,    "LoShelf",    ParamKind::Bool,   0.0,   1.0,     1.0,  "",       ParamMapping::Linear,      DefaultSource::LoShelf,    0},
    {kHiShelf,    "HiShelf",    ParamKind::Bool,   0.0,   1.0,     1.0,  "",       ParamMapping::Linear,      DefaultSource::HiShelf,    0},
    {kBand_HP,    "Band_HP",    ParamKind::Bool,   0.0,   1.0,     1.0,  "",       ParamMapping::Linear,      DefaultSource::CutOn,      0},
    {kFreq_HP,    "Freq_HP",    ParamKind::Double, 20.0,  20000.0, 1.0,  "Hz",     ParamMapping::Logarithmic, DefaultSource::CutFreq,    0},
    {kOrder_HP,   "Order_HP",   ParamKind::Int,    0.0,   7.0,     1.0,  "dB/Oct", ParamMapping::Linear,      DefaultSource::CutOrder,   0},
    {kBand_LP,    "Band_LP",    ParamKind::Bool,   0.0,   1.0,     1.0,  "",       ParamMapping::Linear,      DefaultSource::CutOn,      1},
    {kFreq_LP,    "Freq_LP",    ParamKind::Double, 20.0,  20000.0, 1.0,  "Hz",     ParamMapping::Logarithmic, DefaultSource::CutFreq,    1},
    {kOrder_LP,   "Order_LP",   ParamKind::Int,    0.0,   7.0,     1.0,  "dB/Oct", ParamMapping::Linear,      DefaultSource::CutOrder,   1},
    {kGain,       "Gain",       ParamKind::Double, -24.0, 24.0,    0.1,  "dB",     ParamMapping::Linear,      DefaultSource::OutputGain, 0},
};
// clang-format on

static_assert(sizeof(kParvelParams) / sizeof(kParvelParams[0]) == kNumParvelParams,
              "one table row per parameter index");

constexpr bool ParvelParamTableIsInIndexOrder()
{
    for (int i = 0; i < kNumParvelParams; ++i)
        if (kParvelParams[i].index != i)
            return false;
    return true;
}
static_assert(ParvelParamTableIsInIndexOrder(), "row i of the parameter table describes index i");

constexpr const ParvelParamInfo& ParvelParamAt(int idx) { return kParvelParams[idx]; }

// The IParamSpec shape of a mapping: 1 linear, 2 logarithmic.
constexpr double ShapeOf(ParamMapping mapping) { return mapping == ParamMapping::Linear ? 1.0 : 2.0; }

// Index of the first parameter whose name equals name exactly (case-sensitive), or -1.
int FindParvelParam(const char* name);

// The default a parameter takes from the user's defaults. Values from the settings file are
// not trusted: a non-finite one gives the factory value and a finite one is clamped into the
// range, so no instance ever starts with a value the signal path cannot design from.
double ParvelParamDefault(const ParvelParamInfo& info, const EffectDefaults& defaults);

// Defines the 25 records of plug, in index order, with their final shapes.
void DefineParvelParams(IPlugBase& plug, const EffectDefaults& defaults);
