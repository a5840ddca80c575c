// SPDX-License-Identifier: GPL-3.0-or-later
#include "IPlugParameter.h"

#include "Vst3Text.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

IPlugParameter::IPlugParameter(IParamSpec* spec, ParamID id) : mSpec(spec)
{
    info.id = id;
    Vst3Text::Widen(spec->Name(), info.title, 128);
    info.shortTitle[0] = 0;
    Vst3Text::Widen(spec->LabelForHost(), info.units, 128);
    info.stepCount = spec->Kind() == ParamKind::Double ? 0 : (int32) (spec->Max() - spec->Min());
    info.defaultNormalizedValue = IParamSpec::MapToNormalized(spec->Default(), spec->Min(), spec->Max(), spec->Shape());
    info.unitId = kRootUnitId;
    info.flags = spec->CanAutomate() ? ParameterInfo::kCanAutomate : 0;
    precision = spec->DisplayPrecision();
    valueNormalized = info.defaultNormalizedValue;
}

void IPlugParameter::toString(ParamValue normalized, String128 string) const
{
    Vst3Text::Widen(mSpec->FormatValue(normalized, true, true).c_str(), string, 128);
}

bool IPlugParameter::fromString(const TChar* string, ParamValue& normalized) const
{
    char text[128];
    Vst3Text::Narrow(string, text, (int) sizeof text);
    normalized = mSpec->ParseValueText(text);
    return true;
}

ParamValue IPlugParameter::toPlain(ParamValue normalized) const
{
    return IParamSpec::MapFromNormalized(normalized, mSpec->Min(), mSpec->Max(), mSpec->Shape());
}

ParamValue IPlugParameter::toNormalized(ParamValue plain) const
{
    return mSpec->NormalizedOf(plain);
}
