// SPDX-License-Identifier: GPL-3.0-or-later
// A VST3 module loaded the way a Linux host loads it: dlopen of the bundle's binary,
// ModuleEntry, GetPluginFactory; on destruction the factory reference goes, then
// ModuleExit and dlclose.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <memory>
#include <string>

class PluginModule
{
public:
    // path: a ".vst3" bundle folder or the shared library itself. Null and a message on failure.
    static std::unique_ptr<PluginModule> Load(const std::string& path, std::string& error);

    // The binary inside a bundle (Contents/x86_64-linux/NAME.so); path itself when it is a file.
    static std::string BinaryPath(const std::string& path);

    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    Steinberg::IPluginFactory* factory() const { return pluginFactory; }
    // Looks up an exported symbol of the module, or null.
    void* symbol(const char* name) const;

private:
    PluginModule() = default;

    void* handle = nullptr;
    Steinberg::IPluginFactory* pluginFactory = nullptr;
    bool entered = false;
};
