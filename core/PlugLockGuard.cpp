// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlugLockGuard.h"

#include "IPlugBase.h"

PlugLockGuard::PlugLockGuard(IPlugBase& plug) : mPlug(plug)
{
    mPlug.Lock();
}

PlugLockGuard::~PlugLockGuard()
{
    mPlug.Unlock();
}
