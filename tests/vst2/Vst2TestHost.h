// SPDX-License-Identifier: GPL-3.0-or-later
// What the integration tests share: the built Parvel.so, loaded once per test process through
// dlopen and VSTPluginMain exactly as a host loads it, one opened plug-in with a recording host
// callback, and host-side buffers for processing calls.
#pragma once

#include "Vst2Plugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

inline Vst2Module& TheModule()
{
    static std::unique_ptr<Vst2Module> module = [] {
        std::string error;
        auto loaded = Vst2Module::Load(PARVEL_VST2_PLUGIN, error);
        if (!loaded)
            ADD_FAILURE() << error;
        return loaded;
    }();
    if (!module)
        std::abort();
    return *module;
}

// One plug-in, opened, with its own recording host.
struct TestPlugin
{
    explicit TestPlugin(bool open = true)
    {
        std::string error;
        instance = Vst2Instance::Create(TheModule(), host, error, open);
        if (!instance)
        {
            ADD_FAILURE() << error;
            std::abort();
        }
    }

    AEffect* effect() const { return instance->effect(); }
    Vst2Instance& operator*() const { return *instance; }
    Vst2Instance* operator->() const { return instance.get(); }

    std::vector<float> values() const
    {
        std::vector<float> v;
        for (int i = 0; i < effect()->numParams; ++i)
            v.push_back(instance->getParameter(i));
        return v;
    }

    // Sample rate, block size, resume: what a host does before processing.
    void prepare(int blockSize, float rate = 48000.0f) const
    {
        instance->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        instance->dispatch(effSetBlockSize, 0, blockSize);
        instance->dispatch(effMainsChanged, 0, 1);
    }

    Vst2Host host;
    std::unique_ptr<Vst2Instance> instance;
};

// Host buffers for one processing call: channels of frames samples each. The pointer arrays
// are exactly as long as the channel counts, so a plug-in reading a pointer past them is caught
// under AddressSanitizer.
template <typename Sample>
struct HostBuffers
{
    HostBuffers(int inChannels, int outChannels, int frames, Sample outFill = 0)
        : in((size_t) inChannels, std::vector<Sample>((size_t) frames)),
          out((size_t) outChannels, std::vector<Sample>((size_t) frames, outFill)),
          inPtrs(new Sample*[(size_t) inChannels]),
          outPtrs(new Sample*[(size_t) outChannels])
    {
        for (int c = 0; c < inChannels; ++c)
            inPtrs[c] = in[(size_t) c].data();
        for (int c = 0; c < outChannels; ++c)
            outPtrs[c] = out[(size_t) c].data();
    }

    std::vector<std::vector<Sample>> in, out;
    std::unique_ptr<Sample*[]> inPtrs, outPtrs;
};

// A test signal: a few sines with a channel-dependent phase, at -12 dBFS or so.
inline double TestSignal(int channel, long long frame)
{
    const double t = (double) frame / 48000.0;
    return 0.1 * std::sin(2 * M_PI * 130.0 * t + channel) + 0.1 * std::sin(2 * M_PI * 1100.0 * t)
           + 0.05 * std::sin(2 * M_PI * 9000.0 * t + 2 * channel);
}
