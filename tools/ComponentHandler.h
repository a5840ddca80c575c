// SPDX-License-Identifier: GPL-3.0-or-later
// The host's IComponentHandler: records the edits and restart requests a plug-in sends so a
// host (or a test) can inspect them. Owned by the host, never deleted through release.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <vector>

class ComponentHandler : public Steinberg::Vst::IComponentHandler
{
public:
    enum class EditKind
    {
        Begin,
        Perform,
        End
    };
    struct Edit
    {
        EditKind kind;
        Steinberg::Vst::ParamID id;
        Steinberg::Vst::ParamValue value;
    };

    virtual ~ComponentHandler() = default;

    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                              Steinberg::Vst::ParamValue valueNormalized) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) SMTG_OVERRIDE;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

    std::vector<Edit> edits;
    std::vector<Steinberg::int32> restartFlags;
};
