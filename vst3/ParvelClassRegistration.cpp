// SPDX-License-Identifier: GPL-3.0-or-later
#include "ParvelClassRegistration.h"

#include "CPluginFactory.h"
#include "Parvel.h"
#include "ParvelInfo.h"

#include <mutex>

using namespace Steinberg;

namespace
{
// Constructing an effect reads and writes the per-user settings shared by every instance of
// the process, so creation is serialised. Made on first use, kept until the module unloads.
std::mutex& CreationLock()
{
    static std::mutex lock;
    return lock;
}

FUnknown* CreateParvel(void*)
{
    std::lock_guard<std::mutex> guard(CreationLock());
    // Nothing may be thrown into the host: a construction that runs out of memory creates nothing.
    try
    {
        return static_cast<Vst::IAudioProcessor*>(new Parvel());
    }
    catch (...)
    {
        return nullptr;
    }
}

const PClassInfo2& ParvelClassInfo()
{
    static const PClassInfo2 info(reinterpret_cast<const char*>(ParvelInfo::kVst3ClassId), PClassInfo::kManyInstances,
                                  ParvelInfo::kVst3Category, ParvelInfo::kEffectName,
                                  Vst::kSimpleModeSupported, ParvelInfo::kVst3SubCategories, "",
                                  ParvelInfo::kVersionString, ParvelInfo::kVst3SdkVersion);
    return info;
}
} // namespace

void RegisterParvelClass(CPluginFactory& factory)
{
    factory.registerClass(ParvelClassInfo(), CreateParvel);
}
