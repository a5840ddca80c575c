// SPDX-License-Identifier: GPL-3.0-or-later
// The host's view of one framework parameter: a VST3 Parameter whose info is filled once
// from the IParamSpec it stands for and whose conversions forward to that record. It does
// not own the record; the values hosts read always come from the record.
#pragma once

#include "IParamSpec.h"

#include "public.sdk/source/vst/vstparameters.h"

class IPlugParameter : public Steinberg::Vst::Parameter
{
public:
    IPlugParameter(IParamSpec* spec, Steinberg::Vst::ParamID id);

    void toString(Steinberg::Vst::ParamValue normalized, Steinberg::Vst::String128 string) const SMTG_OVERRIDE;
    bool fromString(const Steinberg::Vst::TChar* string, Steinberg::Vst::ParamValue& normalized) const SMTG_OVERRIDE;
    Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue normalized) const SMTG_OVERRIDE;
    Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue plain) const SMTG_OVERRIDE;

    OBJ_METHODS(IPlugParameter, Parameter)

private:
    IParamSpec* mSpec;
};
