// SPDX-License-Identifier: GPL-3.0-or-later
// The module's class factory: factory info, a table of registered classes with their
// create functions, and instance creation by class id. It answers IPluginFactory,
// IPluginFactory2 and IPluginFactory3 (the wide-character class info is converted from
// the registered PClassInfo2). Reference counted; the last release deletes it.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <atomic>
#include <vector>

class CPluginFactory : public Steinberg::IPluginFactory3
{
public:
    // Makes a new instance with one reference, or null; context is the pointer given at registration.
    using CreateFunction = Steinberg::FUnknown* (*) (void* context);

    // registrySlot, when given, points at the module's factory pointer; the destructor clears it.
    explicit CPluginFactory(const Steinberg::PFactoryInfo& info, CPluginFactory** registrySlot = nullptr);
    virtual ~CPluginFactory();

    CPluginFactory(const CPluginFactory&) = delete;
    CPluginFactory& operator=(const CPluginFactory&) = delete;

    bool registerClass(const Steinberg::PClassInfo2& info, CreateFunction create, void* context = nullptr);
    bool isRegistered(const Steinberg::TUID cid) const;

    // FUnknown
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE;

    // IPluginFactory
    Steinberg::tresult PLUGIN_API getFactoryInfo(Steinberg::PFactoryInfo* info) SMTG_OVERRIDE;
    Steinberg::int32 PLUGIN_API countClasses() SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API getClassInfo(Steinberg::int32 index, Steinberg::PClassInfo* info) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::FIDString cid, Steinberg::FIDString iid,
                                                 void** obj) SMTG_OVERRIDE;
    // IPluginFactory2
    Steinberg::tresult PLUGIN_API getClassInfo2(Steinberg::int32 index, Steinberg::PClassInfo2* info) SMTG_OVERRIDE;
    // IPluginFactory3
    Steinberg::tresult PLUGIN_API getClassInfoUnicode(Steinberg::int32 index,
                                                      Steinberg::PClassInfoW* info) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API setHostContext(Steinberg::FUnknown* context) SMTG_OVERRIDE;

private:
    struct ClassEntry
    {
        Steinberg::PClassInfo2 info;
        CreateFunction create;
        void* context;
    };

    const ClassEntry* entryAt(Steinberg::int32 index) const;

    std::atomic<Steinberg::int32> refCount{1};
    Steinberg::PFactoryInfo factoryInfo;
    std::vector<ClassEntry> classes;
    CPluginFactory** registrySlot;
};
