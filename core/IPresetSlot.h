// SPDX-License-Identifier: GPL-3.0-or-later
// A named preset: whether it holds a state yet, its name and the state chunk that the
// effect's SerializeEffectState wrote into it.
#pragma once

#include "IStateChunk.h"

#include <cstring>

class IPresetSlot
{
public:
    // Names a host sets are at most 24 characters; names read from a bank may be longer and
    // are cut to kNameSize - 1 bytes.
    static constexpr int kNameSize = 256;

    explicit IPresetSlot(const char* name = "") { SetName(name); }

    bool IsInitialized() const { return mInitialized; }
    void SetInitialized(bool initialized) { mInitialized = initialized; }
    const char* Name() const { return mName; }
    void SetName(const char* name)
    {
        size_t n = name ? std::strlen(name) : 0;
        if (n > (size_t) kNameSize - 1)
            n = (size_t) kNameSize - 1;
        if (n > 0)
            std::memcpy(mName, name, n);
        mName[n] = '\0';
    }
    IStateChunk& State() { return mState; }
    const IStateChunk& State() const { return mState; }

private:
    bool mInitialized = false;
    char mName[kNameSize] = {};
    IStateChunk mState;
};
