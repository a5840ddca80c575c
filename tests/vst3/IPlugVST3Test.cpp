// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in object through the VST3 interfaces a host uses: initialisation, parameters,
// buses, processing and state.
#include "Vst3TestHost.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <cmath>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace
{
constexpr ParamID kPreset = 0x70727374;
constexpr ParamID kBypass = 0x62706173;
constexpr ParamID kBandLoMid = 4, kFreqLoMid = 5, kQLoMid = 6, kGainLoMid = 7;

std::string Narrow(const TChar* s)
{
    std::string out;
    for (int i = 0; i < 128 && s[i] != 0; ++i)
        out.push_back((char) s[i]);
    return out;
}

// A LoMid cut of 12 dB at 1 kHz: audio through it differs clearly from its input.
void SetLoMidCut(ParameterChanges& changes, IEditController* ec)
{
    changes.add(kBandLoMid, 1.0);
    changes.add(kFreqLoMid, ec->plainParamToNormalized(kFreqLoMid, 1000.0));
    changes.add(kGainLoMid, ec->plainParamToNormalized(kGainLoMid, -12.0));
}

template <typename Sample>
void FillSine(TestBlock<Sample>& block, double hz)
{
    for (size_t c = 0; c < block.in.size(); ++c)
        for (size_t i = 0; i < block.in[c].size(); ++i)
            block.in[c][i] = (Sample) (float) (0.5 * std::sin(2.0 * M_PI * hz * (double) i / 48000.0 + (double) c));
}

struct BusState
{
    std::string name;
    int32 channels;
};

BusState Bus(IComponent* component, BusDirection dir)
{
    BusInfo info{};
    EXPECT_EQ(component->getBusInfo(kAudio, dir, 0, info), kResultOk);
    return {Narrow(info.name), info.channelCount};
}
} // namespace

TEST(IPlugVST3, ListsPresetBypassThenTheEffectParametersInIndexOrder)
{
    TestPlugin plug;
    IEditController* ec = plug.controller();
    ASSERT_EQ(ec->getParameterCount(), 27);

    ParameterInfo p{};
    ASSERT_EQ(ec->getParameterInfo(0, p), kResultOk);
    EXPECT_EQ(p.id, kPreset);
    EXPECT_EQ(Narrow(p.title), "Preset");
    EXPECT_EQ(p.stepCount, 1) << "the number of presets, not one less";
    EXPECT_EQ(p.flags, ParameterInfo::kIsProgramChange);
    ASSERT_EQ(ec->getParameterInfo(1, p), kResultOk);
    EXPECT_EQ(p.id, kBypass);
    EXPECT_EQ(Narrow(p.title), "Bypass");
    EXPECT_EQ(p.stepCount, 1);
    EXPECT_EQ(p.flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass);

    struct Expected
    {
        const char* title;
        const char* units;
        int32 steps;
    };
    const Expected table[25] = {
        {"Band_Low", "", 1},   {"Freq_Low", "Hz", 0},   {"Q_Low", "", 0},   {"Gain_Low", "dB", 0},
        {"Band_LoMid", "", 1}, {"Freq_LoMid", "Hz", 0}, {"Q_LoMid", "", 0}, {"Gain_LoMid", "dB", 0},
        {"Band_HiMid", "", 1}, {"Freq_HiMid", "Hz", 0}, {"Q_HiMid", "", 0}, {"Gain_HiMid", "dB", 0},
        {"Band_High", "", 1},  {"Freq_High", "Hz", 0},  {"Q_High", "", 0},  {"Gain_High", "dB", 0},
        {"LoShelf", "", 1},    {"HiShelf", "", 1},      {"Band_HP", "", 1}, {"Freq_HP", "Hz", 0},
        {"Order_HP", "dB/Oct", 7}, {"Band_LP", "", 1},  {"Freq_LP", "Hz", 0}, {"Order_LP", "dB/Oct", 7},
        {"Gain", "dB", 0}};
    for (int32 i = 0; i < 25; ++i)
    {
        ASSERT_EQ(ec->getParameterInfo(i + 2, p), kResultOk);
        EXPECT_EQ(p.id, (ParamID) i);
        EXPECT_EQ(Narrow(p.title), table[i].title) << "parameter " << i;
        EXPECT_EQ(Narrow(p.units), table[i].units) << table[i].title;
        EXPECT_EQ(p.stepCount, table[i].steps) << table[i].title;
        EXPECT_EQ(p.flags, ParameterInfo::kCanAutomate) << table[i].title;
        EXPECT_EQ(p.unitId, 0);
    }
    EXPECT_NE(ec->getParameterInfo(27, p), kResultOk) << "an index past the list";
    EXPECT_NE(ec->getParameterInfo(-1, p), kResultOk);
}

TEST(IPlugVST3, ParameterCallsForwardToTheRecordsAndRefuseUnknownIds)
{
    TestPlugin plug;
    IEditController* ec = plug.controller();
    String128 text{};
    ASSERT_EQ(ec->getParamStringByValue(1, 0.5, text), kResultOk);
    EXPECT_EQ(Narrow(text), "632") << "0.5 of 20..20000 Hz on the logarithmic scale";
    ASSERT_EQ(ec->getParamStringByValue(0, 1.0, text), kResultOk);
    EXPECT_EQ(Narrow(text), "on");
    EXPECT_EQ(ec->getParamStringByValue(kBypass, 1.0, text), kResultFalse);
    EXPECT_EQ(ec->getParamStringByValue(kPreset, 0.0, text), kResultFalse);
    EXPECT_EQ(ec->getParamStringByValue(25, 0.0, text), kResultFalse);

    EXPECT_NEAR(ec->normalizedParamToPlain(1, 0.5), 632.456, 1e-3);
    EXPECT_NEAR(ec->plainParamToNormalized(1, 632.456), 0.5, 1e-6);
    EXPECT_DOUBLE_EQ(ec->plainParamToNormalized(1, 1e9), 1.0) << "plain values are clamped into the range";
    EXPECT_DOUBLE_EQ(ec->plainParamToNormalized(99, 7.25), 7.25) << "unknown id: unchanged";

    TChar typed[] = {'1', '2', '.', '5', ' ', 'd', 'B', 0};
    ParamValue v = 0;
    ASSERT_EQ(ec->getParamValueByString(3, typed, v), kResultOk);
    EXPECT_NEAR(ec->normalizedParamToPlain(3, v), 12.5, 1e-9);

    EXPECT_EQ(ec->setParamNormalized(20, 0.5), kResultOk);
    EXPECT_NEAR(ec->getParamNormalized(20), 4.0 / 7.0, 1e-12) << "Order_HP from 0.5 stores order 4";
    EXPECT_EQ(ec->setParamNormalized(kBypass, 1.0), kResultFalse);
    EXPECT_EQ(ec->setParamNormalized(25, 1.0), kResultFalse);
    EXPECT_EQ(ec->getParamNormalized(kBypass), 0.0);
    EXPECT_EQ(ec->getParamNormalized(12345), 0.0);
}

TEST(IPlugVST3, RepeatedInitializeIsRefusedWithoutDoublingBusesOrParameters)
{
    TestPlugin plug;
    HostApplication other("Cubase 12");
    EXPECT_EQ(plug.component()->initialize(&other), kResultFalse);
    EXPECT_EQ(plug.controller()->getParameterCount(), 27);
    EXPECT_EQ(plug.component()->getBusCount(kAudio, kInput), 1);
    EXPECT_EQ(plug.component()->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(plug.component()->getBusCount(kEvent, kInput), 0);
    const BusState in = Bus(plug.component(), kInput), out = Bus(plug.component(), kOutput);
    EXPECT_EQ(in.name, "Main Input");
    EXPECT_EQ(in.channels, 2);
    EXPECT_EQ(out.name, "Output");
    EXPECT_EQ(out.channels, 2);
}

TEST(IPlugVST3, InitializeWithoutAHostContextDeclaresBusesAndParametersOnce)
{
    std::string error;
    auto bare = PluginInstance::Create(TheModule().factory(), nullptr, error);
    ASSERT_TRUE(bare) << error;
    IComponent* component = bare->component;
    EXPECT_EQ(component->initialize(nullptr), kResultOk);
    EXPECT_EQ(component->initialize(nullptr), kResultFalse) << "already initialised, context or not";
    EXPECT_EQ(bare->controller->getParameterCount(), 27);
    EXPECT_EQ(component->getBusCount(kAudio, kInput), 1);
    EXPECT_EQ(component->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(component->terminate(), kResultOk);
    HostApplication host("again");
    EXPECT_EQ(component->initialize(&host), kResultOk) << "a terminated component initialises anew";
    EXPECT_EQ(bare->controller->getParameterCount(), 27);
    EXPECT_EQ(component->terminate(), kResultOk);
}

TEST(IPlugVST3, NegotiatesMonoAndStereoInPairsOnly)
{
    TestPlugin plug;
    SpeakerArrangement mono = SpeakerArr::kMono, stereo = SpeakerArr::kStereo;
    IAudioProcessor* p = plug.processor();

    EXPECT_EQ(p->setBusArrangements(&mono, 1, &stereo, 1), kResultFalse) << "mono in, stereo out";
    EXPECT_EQ(Bus(plug.component(), kInput).name, "Main Input") << "a refused layout changes no bus";
    EXPECT_EQ(p->setBusArrangements(nullptr, 0, &stereo, 1), kResultFalse);
    EXPECT_EQ(p->setBusArrangements(&stereo, 1, nullptr, 0), kResultFalse);

    EXPECT_EQ(p->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
    EXPECT_EQ(Bus(plug.component(), kInput).name, "Main Input") << "stereo keeps the declared buses";

    ASSERT_EQ(p->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
    BusState in = Bus(plug.component(), kInput), out = Bus(plug.component(), kOutput);
    EXPECT_EQ(in.name, "Input");
    EXPECT_EQ(in.channels, 1);
    EXPECT_EQ(out.name, "Output");
    EXPECT_EQ(out.channels, 1);
    SpeakerArrangement arr = 0;
    ASSERT_EQ(p->getBusArrangement(kOutput, 0, arr), kResultOk);
    EXPECT_EQ(arr, SpeakerArr::kMono);
    EXPECT_NE(p->getBusArrangement(kOutput, 1, arr), kResultOk);

    // Mono processing writes the one output channel.
    ASSERT_EQ(plug.setup(256), kResultOk);
    TestBlock<float> block(1, 1, 256);
    FillSine(block, 440.0);
    ASSERT_EQ(p->process(block.data), kResultOk);
    EXPECT_EQ(block.out[0], block.in[0]) << "all bands off: the input passes unchanged";
}

TEST(IPlugVST3, SampleSizesAreCheckedAnd64BitMatches32BitUpToFloatRounding)
{
    TestPlugin p32, p64;
    for (int32 size : {kSample32, kSample64})
        EXPECT_EQ(p32.processor()->canProcessSampleSize(size), kResultOk);
    EXPECT_EQ(p32.processor()->canProcessSampleSize(7), kResultFalse);
    EXPECT_EQ(p32.setup(512, 7), kResultFalse);

    ASSERT_EQ(p32.setup(512, kSample32), kResultOk);
    ASSERT_EQ(p64.setup(512, kSample64), kResultOk);
    TestBlock<float> b32(2, 2, 512);
    TestBlock<double> b64(2, 2, 512);
    FillSine(b32, 1000.0);
    FillSine(b64, 1000.0);
    SetLoMidCut(b32.changes, p32.controller());
    SetLoMidCut(b64.changes, p64.controller());
    ASSERT_EQ(p32.processor()->process(b32.data), kResultOk);
    ASSERT_EQ(p64.processor()->process(b64.data), kResultOk);
    double peak = 0;
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 512; ++i)
        {
            EXPECT_NEAR(b32.out[c][i], b64.out[c][i], 1e-6) << "channel " << c << " frame " << i;
            peak = std::max(peak, std::fabs(b64.out[c][i] - b64.in[c][i]));
        }
    EXPECT_GT(peak, 0.1) << "the cut changed the audio";
}

TEST(IPlugVST3, OnlyTheLastAutomationPointOfAQueueApplies)
{
    TestPlugin plug;
    ASSERT_EQ(plug.setup(64), kResultOk);
    TestBlock<float> block(2, 2, 64);
    block.changes.add(kGainLoMid, 0.2, 0);
    block.changes.add(kGainLoMid, 0.8, 10);
    block.changes.add(kQLoMid, 0.9, 5);
    block.changes.add(999, 0.3, 0);
    ASSERT_EQ(plug.processor()->process(block.data), kResultOk);
    EXPECT_NEAR(plug.controller()->getParamNormalized(kGainLoMid), 0.8, 1e-12);
    EXPECT_NEAR(plug.controller()->getParamNormalized(kQLoMid), 0.9, 1e-12);
}

TEST(IPlugVST3, BypassNeedsMoreThanHalfAndPassesTheInputThrough)
{
    TestPlugin plug;
    ASSERT_EQ(plug.setup(128), kResultOk);
    struct Case
    {
        double value;
        bool bypassed;
    };
    for (const Case& c : {Case{0.5, false}, Case{0.51, true}, Case{0.0, false}, Case{1.0, true}})
    {
        TestBlock<float> block(2, 2, 128);
        FillSine(block, 1000.0);
        SetLoMidCut(block.changes, plug.controller());
        block.changes.add(kBypass, c.value);
        ASSERT_EQ(plug.processor()->process(block.data), kResultOk);
        EXPECT_EQ(plug.controller()->getParamNormalized(kBypass), c.bypassed ? 1.0 : 0.0) << "bpas " << c.value;
        EXPECT_EQ(block.out == block.in, c.bypassed) << "bpas " << c.value;
    }
}

TEST(IPlugVST3, PresetChangeReloadsTheInitialState)
{
    TestPlugin plug;
    ASSERT_EQ(plug.setup(32), kResultOk);
    const std::vector<double> initial = plug.paramValues();
    TestBlock<float> change(2, 2, 32);
    change.changes.add(kGainLoMid, 0.9);
    ASSERT_EQ(plug.processor()->process(change.data), kResultOk);
    ASSERT_NE(plug.paramValues(), initial);

    TestBlock<float> preset(2, 2, 32);
    preset.changes.add(kPreset, 0.99);
    ASSERT_EQ(plug.processor()->process(preset.data), kResultOk);
    EXPECT_EQ(plug.paramValues(), initial) << "0.99 selects preset 0, captured at initialisation";

    TestBlock<float> hostile(2, 2, 32);
    hostile.changes.add(kPreset, std::nan(""));
    hostile.changes.add(kGainLoMid, 1e300);
    ASSERT_EQ(plug.processor()->process(hostile.data), kResultOk);
    EXPECT_LE(plug.controller()->getParamNormalized(kGainLoMid), 1.0);
}

TEST(IPlugVST3, DeactivatedOrUndeclaredOutputBusesLeaveHostBuffersUntouched)
{
    TestPlugin plug;
    ASSERT_EQ(plug.setup(128), kResultOk);
    ASSERT_EQ(plug.component()->activateBus(kAudio, kOutput, 0, false), kResultOk);
    TestBlock<float> block(2, 2, 128);
    FillSine(block, 300.0);
    ASSERT_EQ(plug.processor()->process(block.data), kResultOk);
    for (const auto& channel : block.out)
        for (float v : channel)
            ASSERT_EQ(v, TestBlock<float>::kSentinel);

    ASSERT_EQ(plug.component()->activateBus(kAudio, kOutput, 0, true), kResultOk);
    TestBlock<float> extra(2, 2, 128);
    FillSine(extra, 300.0);
    std::vector<float> l(128, 7.0f), r(128, 7.0f);
    float* second[] = {l.data(), r.data()};
    AudioBusBuffers buses[2] = {extra.outBus, {}};
    buses[1].numChannels = 2;
    buses[1].channelBuffers32 = second;
    extra.data.outputs = buses;
    extra.data.numOutputs = 2;
    ASSERT_EQ(plug.processor()->process(extra.data), kResultOk);
    EXPECT_EQ(extra.out, extra.in) << "the declared bus is written";
    EXPECT_EQ(l, std::vector<float>(128, 7.0f)) << "a bus the plug-in never declared is not";
    EXPECT_EQ(r, std::vector<float>(128, 7.0f));
}

TEST(IPlugVST3, OversizedZeroFrameAndBufferlessCallsAreSafe)
{
    TestPlugin whole, pieces;
    ASSERT_EQ(whole.setup(64), kResultOk);
    ASSERT_EQ(pieces.setup(64), kResultOk);

    // 1000 frames against a prepared 64 render as 64-frame blocks would.
    TestBlock<float> big(2, 2, 1000);
    FillSine(big, 1000.0);
    SetLoMidCut(big.changes, whole.controller());
    ASSERT_EQ(whole.processor()->process(big.data), kResultOk);
    std::vector<std::vector<float>> expected(2);
    for (int pos = 0; pos < 1000; pos += 64)
    {
        const int n = std::min(64, 1000 - pos);
        TestBlock<float> b(2, 2, n);
        for (int c = 0; c < 2; ++c)
            std::copy(big.in[c].begin() + pos, big.in[c].begin() + pos + n, b.in[c].begin());
        if (pos == 0)
            SetLoMidCut(b.changes, pieces.controller());
        ASSERT_EQ(pieces.processor()->process(b.data), kResultOk);
        for (int c = 0; c < 2; ++c)
            expected[c].insert(expected[c].end(), b.out[c].begin(), b.out[c].end());
    }
    EXPECT_EQ(big.out, expected);

    TestBlock<double> big64(2, 2, 1000);
    FillSine(big64, 200.0);
    big64.context.state = 0;
    ASSERT_EQ(whole.processor()->process(big64.data), kResultOk) << "a 64-bit call after a 32-bit setup";

    TestBlock<float> zero(2, 2, 0);
    zero.data.inputs = nullptr;
    zero.data.outputs = nullptr;
    zero.changes.add(kGainLoMid, 0.25);
    EXPECT_EQ(whole.processor()->process(zero.data), kResultOk);
    EXPECT_NEAR(whole.controller()->getParamNormalized(kGainLoMid), 0.25, 1e-12)
        << "automation of a zero-frame call still applies";

    TestBlock<float> nulls(2, 2, 256);
    nulls.inBus.channelBuffers32 = nullptr;
    nulls.outBus.channelBuffers32 = nullptr;
    EXPECT_EQ(whole.processor()->process(nulls.data), kResultOk);
    TestBlock<float> nullChannel(2, 2, 256);
    nullChannel.inPtrs[1] = nullptr;
    nullChannel.outPtrs[1] = nullptr;
    FillSine(nullChannel, 440.0);
    EXPECT_EQ(whole.processor()->process(nullChannel.data), kResultOk);
    TestBlock<float> noBuses(2, 2, 256);
    noBuses.data.numInputs = 0;
    noBuses.data.numOutputs = 0;
    noBuses.data.processContext = nullptr;
    noBuses.data.inputParameterChanges = nullptr;
    EXPECT_EQ(whole.processor()->process(noBuses.data), kResultOk);
    TestBlock<float> wide(8, 8, 64);
    EXPECT_EQ(whole.processor()->process(wide.data), kResultOk) << "more host channels than the plug-in has";
    TestBlock<float> negative(2, 2, 16);
    negative.data.numSamples = -5;
    EXPECT_EQ(whole.processor()->process(negative.data), kResultOk);

    TestPlugin huge;
    EXPECT_EQ(huge.setup(0x7FFFFFFF), kResultOk) << "an absurd maximum block size";
    TestBlock<float> longBlock(2, 2, 100000);
    FillSine(longBlock, 440.0);
    EXPECT_EQ(huge.processor()->process(longBlock.data), kResultOk);
    EXPECT_EQ(longBlock.out, longBlock.in) << "rendered in prepared pieces, all of it";

    TestPlugin unprepared;
    TestBlock<float> early(2, 2, 64);
    FillSine(early, 440.0);
    EXPECT_EQ(unprepared.processor()->process(early.data), kResultOk) << "process before setupProcessing";
}

TEST(IPlugVST3, ABlockWithoutInputBusesReadsSilenceNotThePreviousInput)
{
    TestPlugin plug;
    ASSERT_EQ(plug.setup(128), kResultOk);
    TestBlock<float> first(2, 2, 128);
    FillSine(first, 440.0);
    ASSERT_EQ(plug.processor()->process(first.data), kResultOk);
    ASSERT_EQ(first.out, first.in);

    const std::vector<float> silence(128, 0.0f);
    for (bool noArray : {false, true})
    {
        TestBlock<float> next(2, 2, 128);
        if (noArray)
            next.data.inputs = nullptr;
        else
            next.data.numInputs = 0;
        ASSERT_EQ(plug.processor()->process(next.data), kResultOk);
        for (const auto& channel : next.out)
            EXPECT_EQ(channel, silence) << (noArray ? "no input array" : "no input bus");
    }
}

TEST(IPlugVST3, ReportsLatencyTailAndActivation)
{
    TestPlugin plug;
    EXPECT_EQ(plug.processor()->getLatencySamples(), 0u);
    EXPECT_EQ(plug.processor()->getTailSamples(), 0u);
    EXPECT_EQ(plug.component()->setActive(true), kResultOk);
    EXPECT_EQ(plug.component()->setActive(false), kResultOk);
    EXPECT_EQ(plug.processor()->setProcessing(true), kNotImplemented);
    TUID cid{};
    EXPECT_EQ(plug.component()->getControllerClassId(cid), kNotImplemented);
}
