// SPDX-License-Identifier: GPL-3.0-or-later
#include "HostApplication.h"

using namespace Steinberg;

HostApplication::HostApplication(std::string name) : hostName(std::move(name)) {}

tresult PLUGIN_API HostApplication::getName(Vst::String128 name)
{
    size_t i = 0;
    for (; i < hostName.size() && i < 127; ++i)
        name[i] = (Vst::TChar) (unsigned char) hostName[i];
    name[i] = 0;
    return kResultOk;
}

tresult PLUGIN_API HostApplication::createInstance(TUID, TUID, void** obj)
{
    if (obj != nullptr)
        *obj = nullptr;
    return kNotImplemented;
}

tresult PLUGIN_API HostApplication::queryInterface(const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Vst::IHostApplication::iid))
    {
        *obj = static_cast<Vst::IHostApplication*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}
