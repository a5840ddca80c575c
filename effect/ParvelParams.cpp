// SPDX-License-Identifier: GPL-3.0-or-later
#include "ParvelParams.h"

#include "EffectDefaults.h"
#include "IPlugBase.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
double SourceValue(const ParvelParamInfo& info, const EffectDefaults& d)
{
    const auto slot = (size_t) info.slot;
    switch (info.source)
    {
    case DefaultSource::BandOn: return d.bandOn[slot] ? 1.0 : 0.0;
    case DefaultSource::Freq: return d.freq[slot];
    case DefaultSource::Q: return d.q[slot];
    case DefaultSource::Gain: return d.gain[slot];
    case DefaultSource::LoShelf: return d.loShelf ? 1.0 : 0.0;
    case DefaultSource::HiShelf: return d.hiShelf ? 1.0 : 0.0;
    case DefaultSource::CutOn: return d.cutOn[slot] ? 1.0 : 0.0;
    case DefaultSource::CutFreq: return d.cutFreq[slot];
    case DefaultSource::CutOrder: return (double) d.cutOrder[slot];
    case DefaultSource::OutputGain: return d.outputGain;
    }
    return 0.0;
}
} // namespace

int FindParvelParam(const char* name)
{
    if (name == nullptr)
        return -1;
    for (const ParvelParamInfo& info : kParvelParams)
        if (std::strcmp(info.name, name) == 0)
            return info.index;
    return -1;
}

double ParvelParamDefault(const ParvelParamInfo& info, const EffectDefaults& defaults)
{
    const double v = SourceValue(info, defaults);
    if (! std::isfinite(v))
        return SourceValue(info, EffectDefaults{});
    return std::clamp(v, info.min, info.max);
}

void DefineParvelParams(IPlugBase& plug, const EffectDefaults& defaults)
{
    for (const ParvelParamInfo& info : kParvelParams)
    {
        IParamSpec* p = plug.Param(info.index);
        if (p == nullptr)
            continue;
        const double v = ParvelParamDefault(info, defaults);
        switch (info.kind)
        {
        case ParamKind::Bool: p->DefineBool(info.name, v >= 0.5); break;
        case ParamKind::Int: p->DefineInt(info.name, (int) v, (int) info.min, (int) info.max, info.label); break;
        default: p->DefineDouble(info.name, v, info.min, info.max, info.step, info.label, ShapeOf(info.mapping)); break;
        }
    }
}
