// SPDX-License-Identifier: GPL-3.0-or-later
#include "Vst2Plugin.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{
// The host whose instance is being made: a plug-in may call back from inside the entry point,
// before the host knows its record.
thread_local Vst2Host* tCreatingHost = nullptr;

std::string DescribeEvents(const VstEvents* events)
{
    std::string out;
    if (events == nullptr)
        return out;
    VstEvent* const* list = events->events;
    for (VstInt32 i = 0; i < events->numEvents; ++i)
    {
        const VstEvent* e = list[i];
        if (e == nullptr || e->type != kVstMidiType)
            continue;
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(e);
        out += std::to_string((unsigned char) midi->midiData[0]) + " " + std::to_string((unsigned char) midi->midiData[1])
               + " " + std::to_string((unsigned char) midi->midiData[2]) + " @" + std::to_string(midi->deltaFrames)
               + ";";
    }
    return out;
}
} // namespace

std::unique_ptr<Vst2Module> Vst2Module::Load(const std::string& path, std::string& error)
{
    std::unique_ptr<Vst2Module> module(new Vst2Module());
    module->handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module->handle == nullptr)
    {
        const char* why = ::dlerror();
        error = "cannot load " + path + ": " + (why ? why : "unknown error");
        return nullptr;
    }
    module->mainProc = reinterpret_cast<VstPluginMainProc>(module->symbol("VSTPluginMain"));
    if (module->mainProc == nullptr)
        module->mainProc = reinterpret_cast<VstPluginMainProc>(module->symbol("main"));
    if (module->mainProc == nullptr)
    {
        error = path + " exports neither VSTPluginMain nor main";
        return nullptr;
    }
    return module;
}

Vst2Module::~Vst2Module()
{
    if (handle != nullptr)
        ::dlclose(handle);
}

void* Vst2Module::symbol(const char* name) const
{
    return handle ? ::dlsym(handle, name) : nullptr;
}

std::vector<Vst2HostCall> Vst2Host::calls() const
{
    std::lock_guard<std::mutex> guard(lock);
    return recorded;
}

int Vst2Host::count(VstInt32 opcode) const
{
    std::lock_guard<std::mutex> guard(lock);
    return (int) std::count_if(recorded.begin(), recorded.end(),
                               [&](const Vst2HostCall& c) { return c.opcode == opcode; });
}

void Vst2Host::clear()
{
    std::lock_guard<std::mutex> guard(lock);
    recorded.clear();
}

VstIntPtr VST2_CALLBACK Vst2Host::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                           void* ptr, float opt)
{
    Vst2Host* host = effect != nullptr && effect->user != nullptr ? static_cast<Vst2Host*>(effect->user)
                                                                   : tCreatingHost;
    if (host == nullptr)
        return opcode == audioMasterVersion ? 2400 : 0;
    return host->answer(effect, opcode, index, value, ptr, opt);
}

VstIntPtr Vst2Host::answer(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    Vst2HostCall call{opcode, index, value, opt, {}};
    if (opcode == audioMasterProcessEvents)
        call.text = DescribeEvents(static_cast<const VstEvents*>(ptr));
    {
        std::lock_guard<std::mutex> guard(lock);
        recorded.push_back(call);
    }
    if (onCall)
        onCall(call);
    switch (opcode)
    {
    case audioMasterVersion: return 2400;
    case audioMasterGetProductString:
        if (ptr != nullptr)
            std::snprintf(static_cast<char*>(ptr), kVstMaxProductStrLen + 1, "%s", productString.c_str());
        return ptr != nullptr && !productString.empty() ? 1 : 0;
    case audioMasterGetVendorVersion: return vendorVersion;
    case audioMasterGetCurrentProcessLevel: return processLevel;
    case audioMasterGetTime: return answersTime ? reinterpret_cast<VstIntPtr>(&time) : 0;
    case audioMasterProcessEvents: return processEventsAnswer;
    case audioMasterAutomate:
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
    case audioMasterUpdateDisplay: return 1;
    default: return 0;
    }
}

std::unique_ptr<Vst2Instance> Vst2Instance::Create(const Vst2Module& module, Vst2Host& host, std::string& error,
                                                   bool open)
{
    tCreatingHost = &host;
    AEffect* effect = module.entry()(&Vst2Host::Callback);
    tCreatingHost = nullptr;
    if (effect == nullptr || effect->magic != kEffectMagic)
    {
        error = "the entry point made no plug-in";
        return nullptr;
    }
    effect->user = &host;
    std::unique_ptr<Vst2Instance> instance(new Vst2Instance());
    instance->aeffect = effect;
    if (open)
        instance->dispatch(effOpen);
    return instance;
}

std::unique_ptr<Vst2Instance> Vst2Instance::CreateWithoutCallback(const Vst2Module& module)
{
    AEffect* effect = module.entry()(nullptr);
    if (effect == nullptr)
        return nullptr;
    std::unique_ptr<Vst2Instance> instance(new Vst2Instance());
    instance->aeffect = effect;
    return instance;
}

Vst2Instance::~Vst2Instance()
{
    close();
}

void Vst2Instance::close()
{
    if (aeffect != nullptr)
        aeffect->dispatcher(aeffect, effClose, 0, 0, nullptr, 0.0f);
    aeffect = nullptr;
}

VstIntPtr Vst2Instance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const
{
    return aeffect->dispatcher(aeffect, opcode, index, value, ptr, opt);
}

std::string Vst2Instance::text(VstInt32 opcode, VstInt32 index, int bufferSize) const
{
    std::vector<char> buffer((size_t) bufferSize, '\x7f');
    dispatch(opcode, index, 0, buffer.data());
    buffer.back() = '\0';
    return std::string(buffer.data());
}

float Vst2Instance::getParameter(VstInt32 index) const
{
    return aeffect->getParameter(aeffect, index);
}

void Vst2Instance::setParameter(VstInt32 index, float value) const
{
    aeffect->setParameter(aeffect, index, value);
}

bool Vst2Instance::setParameterText(VstInt32 index, const std::string& text) const
{
    return dispatch(effString2Parameter, index, 0, const_cast<char*>(text.c_str())) == 1;
}

int Vst2Instance::findParameter(const std::string& name) const
{
    int found = -1;
    for (VstInt32 i = 0; i < aeffect->numParams; ++i)
    {
        const std::string reported = text(effGetParamName, i);
        if (reported == name)
            return i;
        if (!reported.empty() && reported.size() == (size_t) kVstMaxParamStrLen && name.compare(0, reported.size(), reported) == 0)
        {
            if (found >= 0)
                return -1;
            found = i;
        }
    }
    return found;
}

bool Vst2Instance::setParameterFromUser(VstInt32 index, const std::string& value) const
{
    if (setParameterText(index, value))
        return true;
    char* end = nullptr;
    const long n = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || n < 0)
        return false;
    // The display texts in the order of the normalised values that show them.
    std::vector<std::string> texts;
    constexpr int kProbes = 1000;
    for (int k = 0; k <= kProbes; ++k)
    {
        setParameter(index, (float) k / kProbes);
        const std::string shown = text(effGetParamDisplay, index);
        if (texts.empty() || texts.back() != shown)
            texts.push_back(shown);
    }
    return n < (long) texts.size() && setParameterText(index, texts[(size_t) n]);
}

std::vector<char> Vst2Instance::getChunk(bool bank) const
{
    void* data = nullptr;
    const VstIntPtr size = dispatch(effGetChunk, bank ? 0 : 1, 0, &data);
    if (size <= 0 || data == nullptr)
        return {};
    const char* bytes = static_cast<const char*>(data);
    return std::vector<char>(bytes, bytes + size);
}

VstIntPtr Vst2Instance::setChunk(bool bank, const std::vector<char>& bytes) const
{
    return dispatch(effSetChunk, bank ? 0 : 1, (VstIntPtr) bytes.size(), const_cast<char*>(bytes.data()));
}
