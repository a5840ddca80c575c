// SPDX-License-Identifier: GPL-3.0-or-later
// What the integration tests share: the built module, loaded once per test process through
// dlopen exactly as a host loads it, an initialised plug-in instance, and one process call's
// buffers. Nothing here links the effect.
#pragma once

#include "ComponentHandler.h"
#include "HostApplication.h"
#include "ParameterChanges.h"
#include "PluginInstance.h"
#include "PluginModule.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

inline PluginModule& TheModule()
{
    static std::unique_ptr<PluginModule> module = [] {
        std::string error;
        auto loaded = PluginModule::Load(PARVEL_VST3_MODULE, error);
        if (!loaded)
            ADD_FAILURE() << error;
        return loaded;
    }();
    if (!module)
        std::abort();
    return *module;
}

// One initialised instance with a recording component handler.
struct TestPlugin
{
    TestPlugin()
    {
        std::string error;
        instance = PluginInstance::Create(TheModule().factory(), &host, error);
        if (!instance)
        {
            ADD_FAILURE() << error;
            std::abort();
        }
        instance->controller->setComponentHandler(&handler);
    }

    Steinberg::Vst::IComponent* component() const { return instance->component; }
    Steinberg::Vst::IAudioProcessor* processor() const { return instance->processor; }
    Steinberg::Vst::IEditController* controller() const { return instance->controller; }

    Steinberg::tresult setup(int blockSize, Steinberg::int32 sampleSize = Steinberg::Vst::kSample32,
                             double rate = 48000.0)
    {
        Steinberg::Vst::ProcessSetup s{Steinberg::Vst::kRealtime, sampleSize, blockSize, rate};
        return processor()->setupProcessing(s);
    }

    std::vector<char> getState() const
    {
        Steinberg::IPtr<Steinberg::MemoryStream> stream(new Steinberg::MemoryStream(), false);
        EXPECT_EQ(component()->getState(stream), Steinberg::kResultOk);
        return std::vector<char>(stream->getData(), stream->getData() + stream->getSize());
    }

    Steinberg::tresult setState(const std::vector<char>& bytes) const
    {
        Steinberg::IPtr<Steinberg::MemoryStream> stream(new Steinberg::MemoryStream(), false);
        Steinberg::int32 written = 0;
        if (!bytes.empty())
            stream->write(const_cast<char*>(bytes.data()), (Steinberg::int32) bytes.size(), &written);
        stream->seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
        return component()->setState(stream);
    }

    // The normalised value of each of the effect's parameters (ids 0 .. 24).
    std::vector<double> paramValues() const
    {
        std::vector<double> values;
        for (Steinberg::Vst::ParamID id = 0; id < 25; ++id)
            values.push_back(controller()->getParamNormalized(id));
        return values;
    }

    HostApplication host{"vst3_tests"};
    ComponentHandler handler;
    std::unique_ptr<PluginInstance> instance;
};

// Buffers and process data for one call: one input and one output bus of the given channel
// counts, 32- or 64-bit, input filled by the caller, output pre-set to a sentinel.
template <typename Sample>
struct TestBlock
{
    static constexpr Sample kSentinel = (Sample) 1234.5;

    TestBlock(int inChannels, int outChannels, int frames)
        : in((size_t) inChannels, std::vector<Sample>((size_t) frames)),
          out((size_t) outChannels, std::vector<Sample>((size_t) frames, kSentinel))
    {
        for (auto& c : in)
            inPtrs.push_back(c.data());
        for (auto& c : out)
            outPtrs.push_back(c.data());
        inBus.numChannels = inChannels;
        outBus.numChannels = outChannels;
        if constexpr (sizeof(Sample) == 8)
        {
            inBus.channelBuffers64 = inPtrs.data();
            outBus.channelBuffers64 = outPtrs.data();
            data.symbolicSampleSize = Steinberg::Vst::kSample64;
        }
        else
        {
            inBus.channelBuffers32 = inPtrs.data();
            outBus.channelBuffers32 = outPtrs.data();
            data.symbolicSampleSize = Steinberg::Vst::kSample32;
        }
        data.numSamples = frames;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
        data.inputParameterChanges = &changes;
        data.processContext = &context;
    }

    std::vector<std::vector<Sample>> in, out;
    std::vector<Sample*> inPtrs, outPtrs;
    Steinberg::Vst::AudioBusBuffers inBus, outBus;
    Steinberg::Vst::ProcessData data;
    ParameterChanges changes;
    Steinberg::Vst::ProcessContext context{};
};
