// SPDX-License-Identifier: GPL-3.0-or-later
// One instance of a module's audio effect class with the interfaces a host drives:
// IComponent, IAudioProcessor and IEditController (queried from the component for a
// single-component effect, else created from the controller class). Terminates and
// releases everything on destruction.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <memory>
#include <string>

class PluginInstance
{
public:
    // Creates the first class of category "Audio Module Class". With a host context the
    // component (and a separate controller) are initialised with it.
    static std::unique_ptr<PluginInstance> Create(Steinberg::IPluginFactory* factory,
                                                  Steinberg::FUnknown* hostContext, std::string& error);
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    Steinberg::PClassInfo classInfo{};
    Steinberg::Vst::IComponent* component = nullptr;
    Steinberg::Vst::IAudioProcessor* processor = nullptr;
    Steinberg::Vst::IEditController* controller = nullptr;
    // True when controller is a separate object from the component.
    bool separateController = false;

private:
    PluginInstance() = default;
    bool initialized = false;
};
