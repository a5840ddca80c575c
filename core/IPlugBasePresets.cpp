// SPDX-License-Identifier: GPL-3.0-or-later
// The default state format (every parameter value as a double, in index order) and the
// preset bank. Bank layout per slot: name (int32 count + bytes), initialised (1 byte), and for
// an initialised slot the effect's state bytes.
#include "IPlugBase.h"

#include <cstdio>
#include <cstring>

bool IPlugBase::SerializeParams(IStateChunk& chunk)
{
    PlugLockGuard lock(*this);
    for (const auto& param : mParams)
        chunk.PutDouble(param->Value());
    return true;
}

int IPlugBase::UnserializeParams(const IStateChunk& chunk, int startPos)
{
    PlugLockGuard lock(*this);
    int pos = startPos;
    for (size_t i = 0; i < mParams.size() && pos >= 0; ++i)
    {
        double v = 0.0;
        pos = chunk.GetDouble(pos, v);
        mParams[i]->SetPlain(v);
    }
    for (int i = 0; i < ParamCount(); ++i)
        ParamChanged(i);
    return pos;
}

const char* IPlugBase::PresetName(int idx) const
{
    const IPresetSlot* slot = Preset(idx);
    return slot ? slot->Name() : "";
}

bool IPlugBase::LoadPreset(int idx)
{
    IPresetSlot* slot = Preset(idx);
    if (!slot)
        return false;
    bool ok;
    if (slot->IsInitialized())
    {
        ok = UnserializeEffectState(slot->State(), 0) > 0;
    }
    else
    {
        int nUserPresets = 0;
        for (const auto& other : mPresets)
        {
            if (std::strstr(other->Name(), "user preset"))
                ++nUserPresets;
        }
        char name[IPresetSlot::kNameSize];
        std::snprintf(name, sizeof name, "%s %d", "user preset", nUserPresets + 1);
        slot->SetInitialized(true);
        slot->SetName(name);
        slot->State().Clear();
        ok = SerializeEffectState(slot->State());
    }
    if (ok)
    {
        mCurrentPresetIdx = idx;
        PresetChanged();
        RefreshParamControls();
    }
    return ok;
}

void IPlugBase::ModifyCurrentPreset(const char* name)
{
    IPresetSlot* slot = Preset(mCurrentPresetIdx);
    if (!slot)
        return;
    slot->State().Clear();
    SerializeEffectState(slot->State());
    if (name && name[0] != '\0')
        slot->SetName(name);
}

void IPlugBase::FillEmptyPresets(int n)
{
    for (int k = 0; k < n; ++k)
    {
        for (const auto& slot : mPresets)
        {
            if (!slot->IsInitialized())
            {
                slot->SetInitialized(true);
                slot->SetName("Empty");
                slot->State().Clear();
                SerializeEffectState(slot->State());
                break;
            }
        }
    }
}

bool IPlugBase::SerializePresets(IStateChunk& chunk)
{
    bool ok = true;
    for (const auto& slot : mPresets)
    {
        chunk.PutString(slot->Name());
        chunk.PutBool(slot->IsInitialized());
        if (slot->IsInitialized())
        {
            chunk.PutBytes(slot->State());
            ok = chunk.Size() > 0;
            if (!ok)
                break;
        }
    }
    return ok;
}

// After the slots are read the current preset is reloaded, so that the effect holds its state.
// The reload is skipped where it could only repeat or undo: when the last state the bank gave
// was the current slot's (the effect holds it already), and when the bank gave no state at all
// while the current slot holds one (its stored state may be older than the present one, and a
// bank that could not be read must not bring it back). An uninitialised current slot is still
// reloaded, which captures the present state into it.
int IPlugBase::UnserializePresets(const IStateChunk& chunk, int startPos)
{
    int pos = startPos;
    int lastApplied = -1;
    std::string name; // a name that does not fit leaves the one read for the previous slot
    for (size_t i = 0; i < mPresets.size() && pos >= 0; ++i)
    {
        IPresetSlot& slot = *mPresets[i];
        pos = chunk.GetString(pos, name);
        slot.SetName(name.c_str());
        bool initialized = slot.IsInitialized();
        pos = chunk.GetBool(pos, initialized);
        slot.SetInitialized(initialized);
        if (initialized && pos >= 0)
        {
            pos = UnserializeEffectState(chunk, pos);
            if (pos > 0)
            {
                slot.State().Clear();
                SerializeEffectState(slot.State());
                lastApplied = (int) i;
            }
        }
    }
    const IPresetSlot* current = Preset(mCurrentPresetIdx);
    if (current && lastApplied != mCurrentPresetIdx && (lastApplied >= 0 || !current->IsInitialized()))
        LoadPreset(mCurrentPresetIdx);
    return pos;
}
