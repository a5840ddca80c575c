// SPDX-License-Identifier: GPL-3.0-or-later
#include "PluginModule.h"

#include <dlfcn.h>
#include <sys/stat.h>

using namespace Steinberg;

namespace
{
using ModuleEntryProc = bool (*)(void*);
using ModuleExitProc = bool (*)();

bool IsDirectory(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string StemOfBundle(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind(".vst3");
    if (dot != std::string::npos && dot + 5 == name.size())
        name.resize(dot);
    return name;
}
} // namespace

std::string PluginModule::BinaryPath(const std::string& path)
{
    if (!IsDirectory(path))
        return path;
    return path + "/Contents/x86_64-linux/" + StemOfBundle(path) + ".so";
}

std::unique_ptr<PluginModule> PluginModule::Load(const std::string& path, std::string& error)
{
    const std::string binary = BinaryPath(path);
    std::unique_ptr<PluginModule> module(new PluginModule());
    module->handle = ::dlopen(binary.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module->handle == nullptr)
    {
        const char* why = ::dlerror();
        error = "cannot load " + binary + ": " + (why ? why : "unknown error");
        return nullptr;
    }
    if (auto entry = reinterpret_cast<ModuleEntryProc>(module->symbol("ModuleEntry")))
    {
        if (!entry(module->handle))
        {
            error = "ModuleEntry of " + binary + " failed";
            return nullptr;
        }
        module->entered = true;
    }
    auto getFactory = reinterpret_cast<GetFactoryProc>(module->symbol("GetPluginFactory"));
    if (getFactory == nullptr)
    {
        error = binary + " exports no GetPluginFactory";
        return nullptr;
    }
    module->pluginFactory = getFactory();
    if (module->pluginFactory == nullptr)
    {
        error = "GetPluginFactory of " + binary + " returned no factory";
        return nullptr;
    }
    return module;
}

void* PluginModule::symbol(const char* name) const
{
    return handle ? ::dlsym(handle, name) : nullptr;
}

PluginModule::~PluginModule()
{
    if (pluginFactory != nullptr)
        pluginFactory->release();
    if (entered)
        if (auto exitProc = reinterpret_cast<ModuleExitProc>(symbol("ModuleExit")))
            exitProc();
    if (handle != nullptr)
        ::dlclose(handle);
}
