// SPDX-License-Identifier: GPL-3.0-or-later
#include "PluginInstance.h"

#include <cstring>

using namespace Steinberg;

std::unique_ptr<PluginInstance> PluginInstance::Create(IPluginFactory* factory, FUnknown* hostContext,
                                                       std::string& error)
{
    std::unique_ptr<PluginInstance> instance(new PluginInstance());
    bool found = false;
    for (int32 i = 0; i < factory->countClasses() && !found; ++i)
    {
        PClassInfo info{};
        if (factory->getClassInfo(i, &info) == kResultOk && std::strcmp(info.category, kVstAudioEffectClass) == 0)
        {
            instance->classInfo = info;
            found = true;
        }
    }
    if (!found)
    {
        error = "the module offers no class of category " + std::string(kVstAudioEffectClass);
        return nullptr;
    }
    void* obj = nullptr;
    if (factory->createInstance(instance->classInfo.cid, Vst::IComponent::iid, &obj) != kResultOk || obj == nullptr)
    {
        error = "the factory could not create the component";
        return nullptr;
    }
    instance->component = static_cast<Vst::IComponent*>(obj);
    if (hostContext != nullptr)
    {
        if (instance->component->initialize(hostContext) != kResultOk)
        {
            error = "the component refused initialize";
            return nullptr;
        }
        instance->initialized = true;
    }
    obj = nullptr;
    if (instance->component->queryInterface(Vst::IAudioProcessor::iid, &obj) != kResultOk || obj == nullptr)
    {
        error = "the component offers no IAudioProcessor";
        return nullptr;
    }
    instance->processor = static_cast<Vst::IAudioProcessor*>(obj);
    obj = nullptr;
    if (instance->component->queryInterface(Vst::IEditController::iid, &obj) == kResultOk && obj != nullptr)
    {
        instance->controller = static_cast<Vst::IEditController*>(obj);
        return instance;
    }
    TUID controllerId{};
    obj = nullptr;
    if (instance->component->getControllerClassId(controllerId) == kResultOk
        && factory->createInstance(controllerId, Vst::IEditController::iid, &obj) == kResultOk && obj != nullptr)
    {
        instance->controller = static_cast<Vst::IEditController*>(obj);
        instance->separateController = true;
        if (hostContext != nullptr)
            instance->controller->initialize(hostContext);
        return instance;
    }
    error = "the module offers no edit controller";
    return nullptr;
}

PluginInstance::~PluginInstance()
{
    if (controller != nullptr)
    {
        controller->setComponentHandler(nullptr);
        if (separateController && initialized)
            controller->terminate();
        controller->release();
    }
    if (processor != nullptr)
        processor->release();
    if (component != nullptr)
    {
        if (initialized)
            component->terminate();
        component->release();
    }
}
