// SPDX-License-Identifier: GPL-3.0-or-later
#include "IPlugBase.h"

#include "TestPlug.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

TEST(IPlugBase, ConstructionSetsTheInitialFields)
{
    TestPlug plug;
    EXPECT_STREQ(plug.GetEffectName(), "Parvel");
    EXPECT_STREQ(plug.GetProductName(), "");
    EXPECT_STREQ(plug.GetMfrName(), "wexo");
    EXPECT_EQ(plug.GetEffectVersion(), 66821);
    EXPECT_EQ(plug.GetUniqueID(), 0x50617276);
    EXPECT_EQ(plug.GetMfrID(), 0x5765786F);
    EXPECT_EQ(plug.GetPluginApi(), PluginApi::VST3);
    EXPECT_EQ(plug.GetHostId(), -1);
    EXPECT_EQ(plug.GetHostVersion(), 0);
    EXPECT_TRUE(plug.DoesStateChunks());
    EXPECT_FALSE(plug.IsInstrument());
    EXPECT_FALSE(plug.DoesMidi());
    EXPECT_FALSE(plug.IsBypassed());
    EXPECT_EQ(plug.CurrentPresetIdx(), 0);
    EXPECT_EQ(plug.GetSampleRate(), 44100.0);
    EXPECT_EQ(plug.GetBlockSize(), 0);
    EXPECT_EQ(plug.GetLatency(), 0);
    EXPECT_EQ(plug.GetTailSize(), 0);
    EXPECT_EQ(plug.LatencyDelayLine(), nullptr);
    EXPECT_EQ(plug.NParamGroups(), 0);
    EXPECT_EQ(plug.GetGUI(), nullptr);
    EXPECT_EQ(plug.ParamCount(), kNumTestParams);
    EXPECT_EQ(plug.Param(-1), nullptr);
    EXPECT_EQ(plug.Param(kNumTestParams), nullptr);
    ASSERT_EQ(plug.PresetCount(), 1);
    EXPECT_STREQ(plug.PresetName(0), "empty");
    EXPECT_FALSE(plug.Preset(0)->IsInitialized());
    ASSERT_EQ(plug.NInChannels(), 2);
    ASSERT_EQ(plug.NOutChannels(), 2);
    for (int c = 0; c < 2; ++c)
    {
        EXPECT_FALSE(plug.InChannel(c)->connected);
        EXPECT_EQ(plug.InChannel(c)->source, plug.InData() + c);
        EXPECT_EQ(plug.OutChannel(c)->dest, plug.OutData() + c);
        EXPECT_TRUE(plug.InChannel(c)->scratch.empty());
    }
    EXPECT_EQ(plug.InChannel(2), nullptr);

    ITestBinding undefined(3, "2-2", 0, "X", "", "", 0, 0, 0, 0, false, true, false);
    EXPECT_EQ(undefined.Param(2)->Kind(), ParamKind::Undefined);
    EXPECT_EQ(undefined.PresetCount(), 0);
}

TEST(IPlugBase, ChannelIOTextIsParsedIntoPairs)
{
    const struct
    {
        const char* text;
        std::vector<std::pair<int, int>> pairs;
        int nIn, nOut;
    } cases[] = {
        {"1-1 2-2", {{1, 1}, {2, 2}}, 2, 2},
        {"2-2", {{2, 2}}, 2, 2},
        {"1-1 x 0-2", {{1, 1}, {0, 0}, {0, 2}}, 1, 2},
        {"1-", {{0, 0}}, 0, 0},
        {"", {}, 0, 0},
        {nullptr, {}, 0, 0},
    };
    for (const auto& c : cases)
    {
        TestPlug plug(c.text);
        std::vector<std::pair<int, int>> pairs;
        for (int i = 0; i < plug.NChannelIO(); ++i)
            pairs.emplace_back(plug.ChannelIO(i)->inputs, plug.ChannelIO(i)->outputs);
        EXPECT_EQ(pairs, c.pairs) << (c.text ? c.text : "(null)");
        EXPECT_EQ(plug.NInChannels(), c.nIn);
        EXPECT_EQ(plug.NOutChannels(), c.nOut);
    }
}

TEST(IPlugBase, LegalIOMatchesDeclaredPairsWithNegativeAsWildcard)
{
    TestPlug plug;
    const struct
    {
        int nIn, nOut;
        bool legal;
    } cases[] = {{1, 1, true}, {2, 2, true}, {1, 2, false}, {2, 1, false}, {-1, 2, true}, {1, -1, true},
                 {-1, -1, true}, {0, 0, false}, {3, -1, false}};
    for (const auto& c : cases)
        EXPECT_EQ(plug.LegalIO(c.nIn, c.nOut), c.legal) << c.nIn << "-" << c.nOut;
}

TEST(IPlugBase, LookUpHostIdTestsTheTableInOrder)
{
    const struct
    {
        const char* substring;
        int id;
    } table[] = {
        {"cubase", 3},     {"reaper", 1},      {"nuendo", 4},      {"cakewalk", 5},   {"samplitude", 8},
        {"fruity", 7},     {"live", 9},        {"melodyne", 12},   {"vstmanlib", 13}, {"aulab", 14},
        {"garageband", 22}, {"forte", 15},     {"chainer", 16},    {"audition", 17},  {"orion", 18},
        {"sawstudio", 20}, {"logic", 21},      {"digital", 23},    {"audiomulch", 25}, {"presonus", 26},
        {"vst3plugintesthost", 27}, {"protools", 2}, {"ardour", 28}, {"openmpt", 30}, {"renoise", 29},
        {"standalone", 24},
    };
    for (const auto& entry : table)
        EXPECT_EQ(IPlugBase::LookUpHostId((std::string("My ") + entry.substring + " 9").c_str()), entry.id)
            << entry.substring;
    // Every later entry loses against every earlier one.
    for (size_t i = 0; i < std::size(table); ++i)
        for (size_t j = i + 1; j < std::size(table); ++j)
            EXPECT_EQ(IPlugBase::LookUpHostId((std::string(table[j].substring) + table[i].substring).c_str()),
                      table[i].id)
                << table[i].substring << " before " << table[j].substring;

    EXPECT_EQ(IPlugBase::LookUpHostId("Steinberg CUBASE Pro"), 3);
    EXPECT_EQ(IPlugBase::LookUpHostId("REAPER64"), 1);
    EXPECT_EQ(IPlugBase::LookUpHostId("Ableton Live 11"), 9);
    EXPECT_EQ(IPlugBase::LookUpHostId("Bitwig Studio"), 0);
    EXPECT_EQ(IPlugBase::LookUpHostId(""), 0);
    EXPECT_EQ(IPlugBase::LookUpHostId(nullptr), 0);
}

TEST(IPlugBase, IdentifyHostStoresIdAndVersion)
{
    TestPlug plug;
    plug.IdentifyHost("VST3PluginTestHost", 0x30700);
    EXPECT_EQ(plug.GetHostId(), 27);
    EXPECT_EQ(plug.GetHostVersion(), 0x30700);
    plug.IdentifyHost("unknown", 0);
    EXPECT_EQ(plug.GetHostId(), 0);
}

TEST(IPlugBase, SetParamFromEditorStoresRoundedButTellsTheHostTheEditorValue)
{
    TestPlug plug;
    plug.SetParamFromEditor(kOrder, 0.3);
    EXPECT_EQ(plug.Param(kOrder)->Value(), 2.0);
    ASSERT_EQ(plug.hostValues.size(), 1u);
    EXPECT_EQ(plug.hostValues[0].first, kOrder);
    EXPECT_EQ(plug.hostValues[0].second, 0.3);
    EXPECT_EQ(plug.changedParams, std::vector<int>{kOrder});
    EXPECT_TRUE(plug.gestureBegins.empty());

    plug.SetParamFromEditor(-1, 0.5);
    plug.SetParamFromEditor(kNumTestParams, 0.5);
    EXPECT_EQ(plug.hostValues.size(), 1u) << "indices outside the table are ignored";
}

// A host that takes its own lock around every block deadlocks when the plug-in calls it while
// holding the plug-in lock: the audio thread, inside the host's lock, waits for the plug-in
// lock. The editor's notification must therefore find the plug-in lock free.
TEST(IPlugBase, SetParamFromEditorTellsTheHostAfterReleasingTheLockThread)
{
    struct LockProbingPlug : TestPlug
    {
        void NotifyHostParamValue(int paramIdx, double normalized) override
        {
            std::thread audio([&] {
                lockWasFree = PlugLock().try_lock();
                if (lockWasFree)
                    PlugLock().unlock();
            });
            audio.join();
            valueSeen = Param(paramIdx)->Value();
            TestPlug::NotifyHostParamValue(paramIdx, normalized);
        }
        bool lockWasFree = false;
        double valueSeen = -1.0;
    };
    LockProbingPlug plug;
    plug.SetParamFromEditor(kGain, 1.0);
    EXPECT_TRUE(plug.lockWasFree) << "the host was called with the plug-in lock held";
    EXPECT_EQ(plug.valueSeen, 24.0) << "the value is stored before the host hears of it";
    EXPECT_EQ(plug.changedParams, std::vector<int>{kGain});
    ASSERT_EQ(plug.hostValues.size(), 1u);
    EXPECT_EQ(plug.hostValues[0].second, 1.0);
}

TEST(IPlugBase, PluginLockIsRecursiveAndExcludesOtherThreads)
{
    TestPlug plug;
    PlugLockGuard outer(plug);
    plug.SetParamFromEditor(kGain, 1.0); // takes the lock again, and ParamChanged once more
    EXPECT_EQ(plug.Param(kGain)->Value(), 24.0);

    bool otherGotIt = true;
    std::thread other([&] {
        otherGotIt = plug.PlugLock().try_lock();
        if (otherGotIt)
            plug.PlugLock().unlock();
    });
    other.join();
    EXPECT_FALSE(otherGotIt);
}

TEST(IPlugBase, AttachEditorPushesNormalisedValuesThenPreparesSurfaces)
{
    TestPlug plug;
    plug.RefreshParamControls(); // no editor: nothing to do
    auto* editor = new FakeEditor;
    plug.AttachEditor(editor);
    EXPECT_EQ(plug.GetGUI(), editor);
    ASSERT_EQ(editor->attached.size(), (size_t) kNumTestParams);
    for (int i = 0; i < kNumTestParams; ++i)
    {
        EXPECT_EQ(editor->attached[(size_t) i].first, i);
        EXPECT_DOUBLE_EQ(editor->attached[(size_t) i].second, plug.Param(i)->NormalizedValue());
    }
    EXPECT_EQ(editor->surfacesPreparedAfter, kNumTestParams);

    plug.AttachEditor(nullptr);
    EXPECT_EQ(plug.GetGUI(), editor);

    plug.Param(kFreq)->SetPlain(440.0);
    plug.RefreshParamControls();
    ASSERT_EQ(editor->pushed.size(), (size_t) kNumTestParams);
    EXPECT_EQ(editor->pushed[kFreq].paramIdx, kFreq);
    EXPECT_EQ(editor->pushed[kFreq].value, 440.0);
    EXPECT_FALSE(editor->pushed[kFreq].isNormalized);
}

TEST(IPlugBase, DestructionDeletesTheEditorFirstAndReplacingDeletesTheOldOne)
{
    int destroyed = 0;
    double seenByEditor = -1;
    {
        auto plug = std::make_unique<TestPlug>();
        auto* first = new FakeEditor;
        first->onDestroy = [&] { ++destroyed; };
        plug->AttachEditor(first);
        auto* second = new FakeEditor;
        IPlugBase* base = plug.get();
        second->onDestroy = [&destroyed, &seenByEditor, base] {
            ++destroyed;
            seenByEditor = base->Param(kFreq)->Value(); // still alive while the editor goes
        };
        plug->AttachEditor(second);
        EXPECT_EQ(destroyed, 1);
        plug->AttachEditor(second);
        EXPECT_EQ(destroyed, 1) << "attaching the same editor again keeps it";
    }
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(seenByEditor, 1000.0);
}

TEST(IPlugBase, BusLabelsReplaceInsertAndAppend)
{
    TestPlug plug;
    plug.SetInputBusLabel(0, "Input");
    plug.SetInputBusLabel(0, "Main Input");
    plug.SetInputBusLabel(-3, "Replaced");
    plug.SetInputBusLabel(1, "Side");
    plug.SetInputBusLabel(9, "Far");
    plug.SetOutputBusLabel(0, std::string(200, 'o').c_str());
    ASSERT_EQ(plug.NInputBusLabels(), 3);
    EXPECT_STREQ(plug.InputBusLabel(0), "Replaced");
    EXPECT_STREQ(plug.InputBusLabel(1), "Side");
    EXPECT_STREQ(plug.InputBusLabel(2), "Far");
    EXPECT_STREQ(plug.InputBusLabel(3), "");
    EXPECT_STREQ(plug.InputBusLabel(-1), "");
    EXPECT_EQ(std::strlen(plug.OutputBusLabel(0)), 127u);
}

TEST(IPlugBase, HostCallsWithBadValuesAreAbsorbed)
{
    TestPlug plug;
    for (double rate : {0.0, -48000.0, std::nan(""), HUGE_VAL})
        plug.ChangeSampleRate(rate);
    EXPECT_EQ(plug.GetSampleRate(), 44100.0);
    plug.ChangeSampleRate(96000.0);
    EXPECT_EQ(plug.GetSampleRate(), 96000.0);

    plug.ChangeBlockSize(-7);
    EXPECT_EQ(plug.GetBlockSize(), 0);
    plug.SetLatencySamples(-3);
    EXPECT_EQ(plug.GetLatency(), 0);
    plug.SetTailSize(-1);
    EXPECT_EQ(plug.GetTailSize(), 0);

    char name[8] = "junk";
    EXPECT_FALSE(plug.GetMidiNoteName(60, name, sizeof name));
    EXPECT_STREQ(name, "");
    EXPECT_FALSE(plug.GetMidiNoteName(60, nullptr, 0));
}

TEST(IPlugBase, MidiGoesBackToTheHostAndSysExIsDropped)
{
    TestPlug plug;
    MidiMessage msg;
    msg.offset = 12;
    msg.status = 0x90;
    msg.data1 = 60;
    msg.data2 = 100;
    plug.HandleMidiMessage(msg);
    ASSERT_EQ(plug.midiSent.size(), 1u);
    EXPECT_EQ(plug.midiSent[0].offset, 12);
    EXPECT_EQ(plug.midiSent[0].data1, 60);

    const uint8_t bytes[] = {0xF0, 0x7E, 0xF7};
    SysExMessage sysex;
    sysex.data = bytes;
    sysex.size = 3;
    plug.HandleSysEx(sysex);
    EXPECT_FALSE(plug.SendSysExToHost(sysex));
    EXPECT_EQ(plug.midiSent.size(), 1u);
}

// Editor edits (locked), host-style writes (unlocked, as VST3 setParamNormalized) and an
// unlocked reader (the editor's polling) at the same time. Run under -DPARVEL_TSAN=ON.
TEST(IPlugBase, ParameterValuesCrossThreadsWithoutDataRaces)
{
    TestPlug plug;
    std::atomic<bool> stop{false};
    std::atomic<bool> sawBadValue{false};
    std::thread reader([&] {
        while (!stop.load())
        {
            for (int i = 0; i < plug.ParamCount(); ++i)
            {
                const double n = plug.Param(i)->NormalizedValue();
                if (!(n >= 0.0 && n <= 1.0))
                    sawBadValue = true;
                (void) plug.Param(i)->FormatCurrentValue();
            }
            (void) plug.IsBypassed();
        }
    });
    std::thread host([&] {
        for (int k = 0; k < 2000; ++k)
        {
            plug.Param(kGain)->SetFromNormalized((k % 100) / 100.0);
            plug.SetBypassed(k % 2 == 0);
            PlugLockGuard lock(plug); // the audio thread's block
            (void) plug.Param(kFreq)->Value();
        }
    });
    for (int k = 0; k < 2000; ++k)
        plug.SetParamFromEditor(k % 2 ? kFreq : kOrder, (k % 50) / 50.0);
    host.join();
    stop = true;
    reader.join();
    EXPECT_FALSE(sawBadValue);
    EXPECT_EQ(plug.hostValues.size(), 2000u);
}
