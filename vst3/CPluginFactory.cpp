// SPDX-License-Identifier: GPL-3.0-or-later
#include "CPluginFactory.h"

#include <cstring>

using namespace Steinberg;

CPluginFactory::CPluginFactory(const PFactoryInfo& info, CPluginFactory** slot)
    : factoryInfo(info), registrySlot(slot)
{
}

CPluginFactory::~CPluginFactory()
{
    if (registrySlot != nullptr && *registrySlot == this)
        *registrySlot = nullptr;
}

bool CPluginFactory::registerClass(const PClassInfo2& info, CreateFunction create, void* context)
{
    if (create == nullptr || isRegistered(info.cid))
        return false;
    classes.push_back(ClassEntry{info, create, context});
    return true;
}

bool CPluginFactory::isRegistered(const TUID cid) const
{
    for (const ClassEntry& entry : classes)
        if (std::memcmp(entry.info.cid, cid, sizeof(TUID)) == 0)
            return true;
    return false;
}

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, IPluginFactory::iid)
        || FUnknownPrivate::iidEqual(iid, IPluginFactory2::iid) || FUnknownPrivate::iidEqual(iid, IPluginFactory3::iid))
    {
        addRef();
        *obj = static_cast<IPluginFactory3*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef()
{
    return (uint32) (refCount.fetch_add(1) + 1);
}

uint32 PLUGIN_API CPluginFactory::release()
{
    const int32 left = refCount.fetch_sub(1) - 1;
    if (left == 0)
        delete this;
    return (uint32) left;
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info)
{
    if (info == nullptr)
        return kInvalidArgument;
    *info = factoryInfo;
    return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses()
{
    return (int32) classes.size();
}

const CPluginFactory::ClassEntry* CPluginFactory::entryAt(int32 index) const
{
    if (index < 0 || index >= (int32) classes.size())
        return nullptr;
    return &classes[(size_t) index];
}

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
    const ClassEntry* entry = entryAt(index);
    if (info == nullptr || entry == nullptr)
        return kInvalidArgument;
    *info = PClassInfo(entry->info.cid, entry->info.cardinality, entry->info.category, entry->info.name);
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
    const ClassEntry* entry = entryAt(index);
    if (info == nullptr || entry == nullptr)
        return kInvalidArgument;
    *info = entry->info;
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info)
{
    const ClassEntry* entry = entryAt(index);
    if (info == nullptr || entry == nullptr)
        return kInvalidArgument;
    info->fromAscii(entry->info);
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    *obj = nullptr;
    if (cid == nullptr || iid == nullptr)
        return kInvalidArgument;
    for (const ClassEntry& entry : classes)
    {
        if (std::memcmp(entry.info.cid, cid, sizeof(TUID)) != 0)
            continue;
        FUnknown* instance = entry.create(entry.context);
        if (instance == nullptr)
            return kOutOfMemory;
        // The host's reference comes from queryInterface; the creation reference goes.
        const tresult result = instance->queryInterface(iid, obj);
        instance->release();
        if (result != kResultOk)
            *obj = nullptr;
        return result;
    }
    return kNoInterface;
}

tresult PLUGIN_API CPluginFactory::setHostContext(FUnknown*)
{
    return kNotImplemented;
}
