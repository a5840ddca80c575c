// SPDX-License-Identifier: GPL-3.0-or-later
// Holds the recursive plug-in lock of an IPlugBase for one scope.
#pragma once

class IPlugBase;

class PlugLockGuard
{
public:
    explicit PlugLockGuard(IPlugBase& plug);
    explicit PlugLockGuard(IPlugBase* plug) : PlugLockGuard(*plug) {}
    ~PlugLockGuard();
    PlugLockGuard(const PlugLockGuard&) = delete;
    PlugLockGuard& operator=(const PlugLockGuard&) = delete;

private:
    IPlugBase& mPlug;
};
