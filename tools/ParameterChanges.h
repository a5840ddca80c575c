// SPDX-License-Identifier: GPL-3.0-or-later
// The automation a host hands to one process call: one IParamValueQueue per changed parameter,
// each with its points in order. Capacities are fixed at construction, so filling the changes
// between blocks allocates nothing; a queue or point beyond them is refused.
#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

class ParamValueQueue : public Steinberg::Vst::IParamValueQueue
{
public:
    explicit ParamValueQueue(int maxPoints = 16);
    virtual ~ParamValueQueue() = default;

    void reset(Steinberg::Vst::ParamID id);

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() SMTG_OVERRIDE { return paramId; }
    Steinberg::int32 PLUGIN_API getPointCount() SMTG_OVERRIDE { return count; }
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                           Steinberg::Vst::ParamValue& value) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value,
                                           Steinberg::int32& index) SMTG_OVERRIDE;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    struct Point
    {
        Steinberg::int32 offset;
        Steinberg::Vst::ParamValue value;
    };
    Steinberg::Vst::ParamID paramId = 0;
    Steinberg::int32 count = 0;
    std::vector<Point> points;
};

class ParameterChanges : public Steinberg::Vst::IParameterChanges
{
public:
    explicit ParameterChanges(int maxQueues = 64);
    virtual ~ParameterChanges() = default;

    void clear() { used = 0; }
    // Appends a point to the queue of id, opening the queue when it is new; false when full.
    bool add(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value, Steinberg::int32 sampleOffset = 0);

    Steinberg::int32 PLUGIN_API getParameterCount() SMTG_OVERRIDE { return used; }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) SMTG_OVERRIDE;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                  Steinberg::int32& index) SMTG_OVERRIDE;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    std::vector<ParamValueQueue> queues;
    Steinberg::int32 used = 0;
};
