// SPDX-License-Identifier: GPL-3.0-or-later
// A small plug-in on the test binding with one parameter of each kind, and an editor double.
#pragma once

#include "TestBinding.h"

#include <functional>
#include <utility>
#include <vector>

enum TestParam
{
    kGain,  // Double -24..24 dB, step 0.1
    kFreq,  // Double 20..20000 Hz, logarithmic, step 1
    kOrder, // Int 0..7
    kOn,    // Bool
    kNumTestParams
};

class TestPlug : public ITestBinding
{
public:
    explicit TestPlug(const char* channelIO = "1-1 2-2", int nPresets = 1, int latency = 0)
        : ITestBinding(kNumTestParams, channelIO, nPresets, "Parvel", "", "wexo", 0x10505, 0x50617276, 0x5765786F,
                       latency, false, true, false)
    {
        Param(kGain)->DefineDouble("Gain", 0.0, -24.0, 24.0, 0.1, "dB");
        Param(kFreq)->DefineDouble("Freq", 1000.0, 20.0, 20000.0, 1.0, "Hz", 2.0);
        Param(kOrder)->DefineInt("Order", 2, 0, 7);
        Param(kOn)->DefineBool("On", true);
    }

    void ParamChanged(int paramIdx) override
    {
        changedParams.push_back(paramIdx);
        ITestBinding::ParamChanged(paramIdx);
    }
    void PresetChanged() override { ++presetChangedCalls; }

    std::vector<int> changedParams;
    int presetChangedCalls = 0;
};

class FakeEditor : public IEditorLink
{
public:
    ~FakeEditor() override
    {
        if (onDestroy)
            onDestroy();
    }
    void SetParamOnControls(int paramIdx, double normalized) override { attached.emplace_back(paramIdx, normalized); }
    void PushParamToControls(int paramIdx, double value, bool isNormalized) override
    {
        pushed.push_back({paramIdx, value, isNormalized});
    }
    void PrepareDrawingSurfaces() override { surfacesPreparedAfter = (int) attached.size(); }

    struct Push
    {
        int paramIdx;
        double value;
        bool isNormalized;
    };
    std::vector<std::pair<int, double>> attached;
    std::vector<Push> pushed;
    int surfacesPreparedAfter = -1; // number of SetParamOnControls calls seen when surfaces were prepared
    std::function<void()> onDestroy;
};
