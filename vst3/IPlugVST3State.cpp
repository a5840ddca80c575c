// SPDX-License-Identifier: GPL-3.0-or-later
// IPlugVST3's saved state: the effect's state chunk followed by the 4-byte bypass flag.
#include "IPlugVST3.h"

#include "pluginterfaces/base/ibstream.h"

#include <algorithm>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr int kStateReadPiece = 128;
}

tresult PLUGIN_API IPlugVST3::getState(IBStream* state)
{
    if (state == nullptr)
        return kResultFalse;
    PlugLockGuard guard(*this);
    IStateChunk chunk;
    if (!SerializeEffectState(chunk))
        return kResultFalse;
    int32 written = 0;
    if (chunk.Size() > 0
        && (state->write(chunk.Data(), chunk.Size(), &written) != kResultOk || written != chunk.Size()))
        return kResultFalse;
    const uint32 flag = IsBypassed() ? 1u : 0u;
    uint8 bytes[4] = {(uint8) flag, 0, 0, 0};
    written = 0;
    if (state->write(bytes, 4, &written) != kResultOk || written != 4)
        return kResultFalse;
    return kResultOk;
}

// The stream holds the effect's state followed by the 4-byte bypass flag. All of it is read
// into the chunk (the effect ignores bytes after its state), and the flag is taken from the
// last four bytes. The result is ok when the effect applied a state; otherwise nothing, the
// bypass flag included, has changed.
tresult PLUGIN_API IPlugVST3::setState(IBStream* state)
{
    if (state == nullptr)
        return kResultFalse;
    PlugLockGuard guard(*this);
    int64 size = -1;
    if (state->seek(0, IBStream::kIBSeekEnd, &size) != kResultOk)
        size = -1;
    state->seek(0, IBStream::kIBSeekSet, nullptr);

    IStateChunk chunk;
    uint8 piece[kStateReadPiece];
    // An unknown size reads until the stream runs dry; a read that delivers nothing ends the loop.
    while (size < 0 || chunk.Size() < size)
    {
        int32 want = kStateReadPiece;
        if (size >= 0)
            want = (int32) std::min<int64>(kStateReadPiece, size - chunk.Size());
        int32 got = 0;
        if (state->read(piece, want, &got) != kResultOk || got <= 0)
            break;
        got = std::min(got, want);
        if (!chunk.PutBytes(piece, got))
            break;
    }
    if (chunk.Size() < 4)
        return kResultFalse;

    mRestoring = true;
    mRestoreApplied = false;
    const int read = UnserializeEffectState(chunk, 0);
    mRestoring = false;
    if (read < 0 || !mRestoreApplied)
        return kResultFalse;

    const uint8* tail = chunk.Data() + chunk.Size() - 4;
    const uint32 flag = (uint32) tail[0] | ((uint32) tail[1] << 8) | ((uint32) tail[2] << 16) | ((uint32) tail[3] << 24);
    SetBypassed(flag != 0);
    RefreshParamControls();
    return kResultOk;
}

tresult PLUGIN_API IPlugVST3::setComponentState(IBStream* state)
{
    return setState(state);
}

void IPlugVST3::ParamChanged(int paramIdx)
{
    if (mRestoring)
        mRestoreApplied = true;
    IPlugBase::ParamChanged(paramIdx);
}
