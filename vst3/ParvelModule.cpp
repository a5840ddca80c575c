// SPDX-License-Identifier: GPL-3.0-or-later
// The module's exported entry points. Linux hosts call ModuleEntry and ModuleExit where
// Windows hosts have the DLL entry point, InitDll and ExitDll; GetPluginFactory hands out the
// one factory, made on first demand and cleared when its last reference goes.
#include "ParvelModule.h"

#include "CPluginFactory.h"
#include "ParvelClassRegistration.h"
#include "ParvelInfo.h"

#include <mutex>
#include <new>

using namespace Steinberg;

namespace
{
void* gModuleHandle = nullptr;
void* gResourceModuleHandle = nullptr;
CPluginFactory* gFactory = nullptr;

std::mutex& FactoryLock()
{
    static std::mutex lock;
    return lock;
}

const PFactoryInfo& FactoryInfo()
{
    static const PFactoryInfo info(ParvelInfo::kMakerName, ParvelInfo::kMakerUrl, ParvelInfo::kMakerEmail,
                                   PFactoryInfo::kUnicode);
    return info;
}
} // namespace

void* ParvelModule::ModuleHandle()
{
    return gModuleHandle;
}

void* ParvelModule::ResourceModuleHandle()
{
    return gResourceModuleHandle;
}

extern "C" {

SMTG_EXPORT_SYMBOL bool InitDll()
{
    gResourceModuleHandle = gModuleHandle;
    return true;
}

SMTG_EXPORT_SYMBOL bool ExitDll()
{
    return true;
}

SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle)
{
    gModuleHandle = sharedLibraryHandle;
    return InitDll();
}

SMTG_EXPORT_SYMBOL bool ModuleExit()
{
    return ExitDll();
}

SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory()
{
    std::lock_guard<std::mutex> guard(FactoryLock());
    if (gFactory != nullptr)
    {
        gFactory->addRef();
        return gFactory;
    }
    gFactory = new (std::nothrow) CPluginFactory(FactoryInfo(), &gFactory);
    if (gFactory == nullptr)
        return nullptr;
    RegisterParvelClass(*gFactory);
    return gFactory;
}

} // extern "C"
