// SPDX-License-Identifier: GPL-3.0-or-later
// IPlugVST's processing and parameter entries. Each holds the plug-in lock for its whole call.
// Processing runs on the host's audio thread and allocates nothing: the host's buffers go
// through the plug-in base's adapter, which renders a block longer than the prepared one in
// pieces, so a host that sends more frames than it announced is processed whole and in bounds.
// Channels the host did not connect consume no host buffer and run on their own scratch.
#include "IPlugVST.h"

#include <cmath>

void IPlugVST::ProcessReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if (sampleFrames <= 0)
        return;
    PlugLockGuard guard(*this);
    ConnectInputs(0, NInChannels(), inputs, sampleFrames);
    ConnectOutputs(0, NOutChannels(), outputs);
    ProcessFloatBlock(sampleFrames);
}

// The accumulating entry adds the result to what the host's output buffers hold.
void IPlugVST::ProcessAccumulating(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if (sampleFrames <= 0)
        return;
    PlugLockGuard guard(*this);
    ConnectInputs(0, NInChannels(), inputs, sampleFrames);
    ConnectOutputs(0, NOutChannels(), outputs);
    ProcessFloatBlockAdding(sampleFrames);
}

void IPlugVST::ProcessDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames)
{
    if (sampleFrames <= 0)
        return;
    PlugLockGuard guard(*this);
    ConnectInputs(0, NInChannels(), inputs);
    ConnectOutputs(0, NOutChannels(), outputs);
    ProcessDoubleBlock(sampleFrames);
}

// The change comes from the host, so the host is not told of it. A value that is not a number
// is refused: it would otherwise store the parameter's minimum.
void IPlugVST::SetParameter(VstInt32 index, float value)
{
    PlugLockGuard guard(*this);
    IParamSpec* p = Param(index);
    if (p == nullptr || !std::isfinite(value))
        return;
    if (IEditorLink* editor = GetGUI())
        editor->PushParamToControls(index, value, true);
    p->SetFromNormalized(value);
    ParamChanged(index);
}

float IPlugVST::GetParameter(VstInt32 index)
{
    PlugLockGuard guard(*this);
    const IParamSpec* p = Param(index);
    return p != nullptr ? (float) p->NormalizedValue() : 0.0f;
}
