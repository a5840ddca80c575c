// SPDX-License-Identifier: GPL-3.0-or-later
// The VST2 plug-in's entry point. Each call makes one plug-in. Hosts also look for the entry
// under its older name, main; C++ cannot declare a main that returns a pointer, so the build
// gives VSTPluginMain that second name as a linker alias (parvel_vst2.map and the Linux link
// options; a Windows .def file can say main=VSTPluginMain).
#include "Parvel.h"

#include <mutex>
#include <new>

#if defined(_WIN32)
#define PARVEL_VST2_EXPORT
#else
#define PARVEL_VST2_EXPORT __attribute__((visibility("default")))
#endif

namespace
{
// Making an effect reads and writes state shared in the process (the per-user settings file):
// one at a time. Made on first use, destroyed when the module unloads.
std::mutex& CreationLock()
{
    static std::mutex lock;
    return lock;
}
} // namespace

extern "C" PARVEL_VST2_EXPORT AEffect* VST2_CALLBACK VSTPluginMain(audioMasterCallback hostCallback)
{
    std::lock_guard<std::mutex> guard(CreationLock());
    Parvel* plug = nullptr;
    try
    {
        plug = new Parvel();
        return plug->ReadyForHost(hostCallback);
    }
    catch (...)
    {
        delete plug;
        return nullptr;
    }
}
