// SPDX-License-Identifier: GPL-3.0-or-later
// The host context handed to a plug-in's initialize: answers IHostApplication with the host's
// name. Owned by the host for the whole session, so reference counting never deletes it.
#pragma once

#include "pluginterfaces/vst/ivsthostapplication.h"

#include <string>

class HostApplication : public Steinberg::Vst::IHostApplication
{
public:
    explicit HostApplication(std::string name = "parvel-render");
    virtual ~HostApplication() = default;

    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    std::string hostName;
};
