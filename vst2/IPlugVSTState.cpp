// SPDX-License-Identifier: GPL-3.0-or-later
// IPlugVST's chunks. A block the plug-in hands out starts with the framework header, followed by
// the effect's state (a program, index other than 0) or by the preset bank (index 0). A block
// without the header is read as effect state from its start.
//
// A restore is all or nothing. The effect's state reader takes a whole state or none, and it calls
// ParamChanged exactly when it takes one; a restore in which it took none is refused (answer 0)
// and leaves the parameters, the editor options and the presets as they were.
#include "IPlugVST.h"

#include <climits>
#include <string>
#include <vector>

namespace
{
constexpr int kHeaderBytes = 8;

// What a bank restore may change in the preset slots, kept to be put back when it is refused.
struct KeptSlot
{
    std::string name;
    bool initialized = false;
    IStateChunk state;
};

std::vector<KeptSlot> KeepSlots(const IPlugBase& plug)
{
    std::vector<KeptSlot> kept((size_t) plug.PresetCount());
    for (int i = 0; i < plug.PresetCount(); ++i)
    {
        const IPresetSlot* slot = plug.Preset(i);
        kept[(size_t) i].name = slot->Name();
        kept[(size_t) i].initialized = slot->IsInitialized();
        kept[(size_t) i].state = slot->State();
    }
    return kept;
}

void PutSlotsBack(IPlugBase& plug, const std::vector<KeptSlot>& kept)
{
    for (int i = 0; i < plug.PresetCount() && i < (int) kept.size(); ++i)
    {
        IPresetSlot* slot = plug.Preset(i);
        slot->SetName(kept[(size_t) i].name.c_str());
        slot->SetInitialized(kept[(size_t) i].initialized);
        slot->State() = kept[(size_t) i].state;
    }
}
} // namespace

// The bytes stay the plug-in's, valid until the next effGetChunk of the same kind.
VstIntPtr IPlugVST::GetChunk(bool bank, void* ptr)
{
    auto** target = static_cast<void**>(ptr);
    if (target == nullptr)
        return 0;
    IStateChunk& chunk = bank ? mBankChunk : mProgramChunk;
    IStateChunk::WriteChunkHeader(chunk);
    bool ok;
    if (bank)
    {
        ModifyCurrentPreset();
        ok = SerializePresets(chunk);
    }
    else
        ok = SerializeEffectState(chunk);
    if (!ok || chunk.Size() <= kHeaderBytes)
        return 0;
    *target = chunk.Data();
    return chunk.Size();
}

// The host's bytes are copied first: a host may hand back the very buffer effGetChunk gave it.
VstIntPtr IPlugVST::SetChunk(bool bank, VstIntPtr size, const void* ptr)
{
    if (ptr == nullptr || size <= 0 || size > INT_MAX)
        return 0;
    IStateChunk chunk;
    if (!chunk.PutBytes(ptr, (int) size))
        return 0;
    int pos = 0;
    const int version = IStateChunk::ReadChunkHeader(chunk, pos);
    if (pos < 0)
        return 0; // the header's magic without its version
    const bool taken = !bank || version < IStateChunk::kFrameworkVersion ? RestoreProgram(chunk, pos)
                                                                         : RestoreBank(chunk, pos);
    if (!taken)
        return 0;
    RefreshParamControls();
    return 1;
}

bool IPlugVST::RestoreProgram(const IStateChunk& chunk, int pos)
{
    mRestoring = true;
    mRestoreApplied = false;
    const int read = UnserializeEffectState(chunk, pos);
    mRestoring = false;
    if (read < 0 || !mRestoreApplied)
        return false;
    ModifyCurrentPreset();
    return true;
}

// The bank reader names and flags a slot before the effect sees the slot's state, and does not
// reload the current preset when the bank gave no state (IPlugBase::UnserializePresets); so a
// bank whose state the effect refused has changed the slots only, and they are put back.
bool IPlugVST::RestoreBank(const IStateChunk& chunk, int pos)
{
    const std::vector<KeptSlot> kept = KeepSlots(*this);
    mRestoring = true;
    mRestoreApplied = false;
    const int read = UnserializePresets(chunk, pos);
    mRestoring = false;
    if (!mRestoreApplied)
    {
        PutSlotsBack(*this, kept);
        return false;
    }
    return read >= 0;
}
