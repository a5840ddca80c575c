// SPDX-License-Identifier: GPL-3.0-or-later
#include "ParameterChanges.h"

using namespace Steinberg;

ParamValueQueue::ParamValueQueue(int maxPoints) : points((size_t) maxPoints) {}

void ParamValueQueue::reset(Vst::ParamID id)
{
    paramId = id;
    count = 0;
}

tresult PLUGIN_API ParamValueQueue::getPoint(int32 index, int32& sampleOffset, Vst::ParamValue& value)
{
    if (index < 0 || index >= count)
        return kInvalidArgument;
    sampleOffset = points[(size_t) index].offset;
    value = points[(size_t) index].value;
    return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::addPoint(int32 sampleOffset, Vst::ParamValue value, int32& index)
{
    if (count >= (int32) points.size())
        return kOutOfMemory;
    points[(size_t) count] = {sampleOffset, value};
    index = count++;
    return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::queryInterface(const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Vst::IParamValueQueue::iid))
    {
        *obj = static_cast<Vst::IParamValueQueue*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

ParameterChanges::ParameterChanges(int maxQueues) : queues((size_t) maxQueues) {}

bool ParameterChanges::add(Vst::ParamID id, Vst::ParamValue value, int32 sampleOffset)
{
    int32 index = 0;
    Vst::IParamValueQueue* queue = addParameterData(id, index);
    int32 pointIndex = 0;
    return queue != nullptr && queue->addPoint(sampleOffset, value, pointIndex) == kResultOk;
}

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index)
{
    if (index < 0 || index >= used)
        return nullptr;
    return &queues[(size_t) index];
}

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const Vst::ParamID& id, int32& index)
{
    for (int32 i = 0; i < used; ++i)
    {
        if (queues[(size_t) i].getParameterId() == id)
        {
            index = i;
            return &queues[(size_t) i];
        }
    }
    if (used >= (int32) queues.size())
        return nullptr;
    queues[(size_t) used].reset(id);
    index = used;
    return &queues[(size_t) used++];
}

tresult PLUGIN_API ParameterChanges::queryInterface(const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Vst::IParameterChanges::iid))
    {
        *obj = static_cast<Vst::IParameterChanges*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}
