// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's saved state: every parameter by name and the editor options, in the XML blob of
// XmlStateBlob. Both operations run with the plug-in lock held by the binding.
#include "Parvel.h"

bool Parvel::SerializeEffectState(IStateChunk& chunk)
{
    XmlStateBlob::Write(CaptureState(), chunk);
    return true;
}

int Parvel::UnserializeEffectState(const IStateChunk& chunk, int startPos)
{
    if (startPos < 0 || startPos > chunk.Size())
        return -1;
    // Parsed and validated whole before anything is applied: a damaged chunk changes nothing.
    if (const std::optional<StateUpdate> u = XmlStateBlob::Read(chunk, startPos))
        ApplyState(*u);
    return chunk.Size() - startPos;
}

void Parvel::ApplyState(const StateUpdate& u)
{
    options.sizeIndex = EditorOptions::ClampSize(u.sizeIndex);
    if (u.showGain)
        options.showGain = *u.showGain;
    if (u.showBgText)
        options.showBgText = *u.showBgText;
    if (u.analyserOn)
        SetAnalyserOn(*u.analyserOn);
    if (u.analyserInput)
        options.analyserInput = *u.analyserInput;
    if (u.analyserTop)
        options.analyserTop = *u.analyserTop;
    if (u.analyserRange)
        options.analyserRange = *u.analyserRange;
    const float magRange = u.magRange ? *u.magRange : (float) options.magRange;

    for (int i = 0; i < kNumParvelParams; ++i)
        if (const std::optional<double>& v = u.values[(size_t) i])
            Param(i)->SetPlain(*v);

    // A new size reaches the editor at its next opening, a new range at its next drawing;
    // without a graphics core there is nothing to resize or mark for redrawing now.
    if (magRange != options.magRange)
        options.magRange = magRange;

    for (int i = 0; i < kNumParvelParams; ++i)
        ParamChanged(i);
}
