// SPDX-License-Identifier: GPL-3.0-or-later
#include "ComponentHandler.h"

using namespace Steinberg;

tresult PLUGIN_API ComponentHandler::beginEdit(Vst::ParamID id)
{
    edits.push_back({EditKind::Begin, id, 0.0});
    return kResultOk;
}

tresult PLUGIN_API ComponentHandler::performEdit(Vst::ParamID id, Vst::ParamValue valueNormalized)
{
    edits.push_back({EditKind::Perform, id, valueNormalized});
    return kResultOk;
}

tresult PLUGIN_API ComponentHandler::endEdit(Vst::ParamID id)
{
    edits.push_back({EditKind::End, id, 0.0});
    return kResultOk;
}

tresult PLUGIN_API ComponentHandler::restartComponent(int32 flags)
{
    restartFlags.push_back(flags);
    return kResultOk;
}

tresult PLUGIN_API ComponentHandler::queryInterface(const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Vst::IComponentHandler::iid))
    {
        *obj = static_cast<Vst::IComponentHandler*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}
