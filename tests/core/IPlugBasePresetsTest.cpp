// SPDX-License-Identifier: GPL-3.0-or-later
#include "IPlugBase.h"

#include "TestPlug.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace
{
void SetValues(IPlugBase& plug, double gain, double freq, double order, double on)
{
    plug.Param(kGain)->SetPlain(gain);
    plug.Param(kFreq)->SetPlain(freq);
    plug.Param(kOrder)->SetPlain(order);
    plug.Param(kOn)->SetPlain(on);
}

std::vector<double> Values(const IPlugBase& plug)
{
    std::vector<double> v;
    for (int i = 0; i < plug.ParamCount(); ++i)
        v.push_back(plug.Param(i)->Value());
    return v;
}

const std::vector<int> kAllParams = {kGain, kFreq, kOrder, kOn};
} // namespace

TEST(IPlugBasePresets, SerializeParamsAppendsEveryValueInIndexOrder)
{
    TestPlug plug;
    SetValues(plug, -3.5, 440, 5, 0);
    IStateChunk chunk;
    chunk.PutInt32(99);
    EXPECT_TRUE(plug.SerializeParams(chunk));
    ASSERT_EQ(chunk.Size(), 4 + kNumTestParams * 8) << "appends without clearing";
    double v = 0;
    EXPECT_EQ(chunk.GetDouble(4, v), 12);
    EXPECT_EQ(v, -3.5);
    EXPECT_EQ(chunk.GetDouble(12, v), 20);
    EXPECT_EQ(v, 440.0);

    TestPlug other;
    EXPECT_EQ(other.UnserializeParams(chunk, 4), chunk.Size());
    EXPECT_EQ(Values(other), Values(plug));
    EXPECT_EQ(other.changedParams, kAllParams);

    ITestBinding full(25, "1-1 2-2", 1, "Parvel", "", "wexo", 0x10505, 0, 0, 0, false, true, false);
    for (int i = 0; i < 25; ++i)
        full.Param(i)->DefineDouble("P", i, 0, 100, 1);
    IStateChunk fresh;
    full.SerializeParams(fresh);
    EXPECT_EQ(fresh.Size(), 200);
    EXPECT_EQ(full.UnserializeParams(fresh, 0), 200);
}

TEST(IPlugBasePresets, ShortChunkSetsWhatItHoldsClampsTheNextAndReportsMinusOne)
{
    TestPlug plug;
    SetValues(plug, 1, 2000, 3, 1);
    IStateChunk chunk;
    chunk.PutDouble(-6.0);
    chunk.PutInt32(12345); // 12 bytes: the second double does not fit
    EXPECT_EQ(plug.UnserializeParams(chunk, 0), -1);
    EXPECT_EQ(plug.Param(kGain)->Value(), -6.0);
    EXPECT_EQ(plug.Param(kFreq)->Value(), 20.0) << "0.0 clamped into 20..20000";
    EXPECT_EQ(plug.Param(kOrder)->Value(), 3.0);
    EXPECT_EQ(plug.Param(kOn)->Value(), 1.0);
    EXPECT_EQ(plug.changedParams, kAllParams);
}

TEST(IPlugBasePresets, UnserializeParamsAbsorbsBadPositionsAndValues)
{
    TestPlug plug;
    SetValues(plug, 1, 2000, 3, 1);
    const std::vector<double> before = Values(plug);
    IStateChunk chunk;
    plug.SerializeParams(chunk);
    for (int pos : {-1, -100000, std::numeric_limits<int>::min()})
    {
        EXPECT_EQ(plug.UnserializeParams(chunk, pos), pos);
        EXPECT_EQ(Values(plug), before);
    }
    EXPECT_EQ(plug.UnserializeParams(chunk, std::numeric_limits<int>::max()), -1);

    IStateChunk wild;
    wild.PutDouble(std::nan(""));
    wild.PutDouble(HUGE_VAL);
    wild.PutDouble(-HUGE_VAL);
    wild.PutDouble(1e300);
    EXPECT_EQ(plug.UnserializeParams(wild, 0), 32);
    EXPECT_EQ(Values(plug), (std::vector<double>{-24, 20000, 0, 1}));
}

TEST(IPlugBasePresets, LoadPresetCapturesAnEmptySlotAndRestoresAnInitialisedOne)
{
    TestPlug plug("1-1 2-2", 3);
    auto* editor = new FakeEditor;
    plug.AttachEditor(editor);
    EXPECT_FALSE(plug.LoadPreset(3));
    EXPECT_FALSE(plug.LoadPreset(-1));
    EXPECT_EQ(plug.presetChangedCalls, 0);

    plug.Preset(0)->SetName("my user preset");
    SetValues(plug, 6, 100, 1, 0);
    ASSERT_TRUE(plug.LoadPreset(1));
    EXPECT_STREQ(plug.PresetName(1), "user preset 2");
    EXPECT_TRUE(plug.Preset(1)->IsInitialized());
    EXPECT_EQ(plug.Preset(1)->State().Size(), kNumTestParams * 8);
    EXPECT_EQ(plug.CurrentPresetIdx(), 1);
    EXPECT_EQ(plug.presetChangedCalls, 1);
    EXPECT_EQ(editor->pushed.size(), (size_t) kNumTestParams) << "controls refreshed";

    SetValues(plug, -6, 5000, 7, 1);
    ASSERT_TRUE(plug.LoadPreset(1));
    EXPECT_EQ(Values(plug), (std::vector<double>{6, 100, 1, 0}));
    EXPECT_STREQ(plug.PresetName(5), "");
    EXPECT_STREQ(plug.PresetName(-1), "");
}

TEST(IPlugBasePresets, LoadPresetOfADamagedSlotFailsAndKeepsTheIndex)
{
    TestPlug plug("1-1 2-2", 2);
    plug.Preset(1)->SetInitialized(true); // initialised but empty: nothing to read
    EXPECT_FALSE(plug.LoadPreset(1));
    EXPECT_EQ(plug.CurrentPresetIdx(), 0);
    EXPECT_EQ(plug.presetChangedCalls, 0);
}

TEST(IPlugBasePresets, ModifyAndFillPresets)
{
    TestPlug plug("1-1 2-2", 3);
    plug.FillEmptyPresets(2);
    EXPECT_STREQ(plug.PresetName(0), "Empty");
    EXPECT_STREQ(plug.PresetName(1), "Empty");
    EXPECT_STREQ(plug.PresetName(2), "empty");
    EXPECT_FALSE(plug.Preset(2)->IsInitialized());
    EXPECT_EQ(plug.Preset(1)->State().Size(), kNumTestParams * 8);

    SetValues(plug, 12, 300, 4, 0);
    plug.ModifyCurrentPreset();
    EXPECT_STREQ(plug.PresetName(0), "Empty");
    plug.ModifyCurrentPreset("");
    EXPECT_STREQ(plug.PresetName(0), "Empty");
    plug.ModifyCurrentPreset("Renamed");
    EXPECT_STREQ(plug.PresetName(0), "Renamed");
    EXPECT_EQ(plug.Preset(0)->State().Size(), kNumTestParams * 8) << "cleared before the capture";
    double gain = 0;
    plug.Preset(0)->State().GetDouble(0, gain);
    EXPECT_EQ(gain, 12.0);

    plug.ModifyCurrentPreset(std::string(300, 'x').c_str());
    EXPECT_EQ(std::strlen(plug.PresetName(0)), (size_t) IPresetSlot::kNameSize - 1);
}

TEST(IPlugBasePresets, BankRoundTrip)
{
    TestPlug plug("1-1 2-2", 3);
    SetValues(plug, 3, 3000, 3, 1);
    plug.LoadPreset(0); // captures as "user preset 1"
    SetValues(plug, -9, 90, 6, 0);
    plug.LoadPreset(2); // captures as "user preset 2"
    IStateChunk bank;
    ASSERT_TRUE(plug.SerializePresets(bank));
    const int slotSize = 4 + 13 + 1 + kNumTestParams * 8;
    ASSERT_EQ(bank.Size(), slotSize + (4 + 5 + 1) + slotSize);
    std::string name;
    EXPECT_EQ(bank.GetString(0, name), 17);
    EXPECT_EQ(name, "user preset 1");

    TestPlug other("1-1 2-2", 3);
    EXPECT_EQ(other.UnserializePresets(bank, 0), bank.Size());
    EXPECT_STREQ(other.PresetName(0), "user preset 1");
    EXPECT_STREQ(other.PresetName(1), "empty");
    EXPECT_STREQ(other.PresetName(2), "user preset 2");
    EXPECT_FALSE(other.Preset(1)->IsInitialized());
    EXPECT_EQ(Values(other), (std::vector<double>{3, 3000, 3, 1})) << "current preset 0 reloaded";

    TestPlug none("1-1 2-2", 0);
    IStateChunk empty;
    EXPECT_TRUE(none.SerializePresets(empty));
    EXPECT_EQ(empty.Size(), 0);
}

TEST(IPlugBasePresets, DamagedBanksKeepWhatWasReadAndStillReloadTheCurrentPreset)
{
    TestPlug source("1-1 2-2", 2);
    SetValues(source, 3, 3000, 3, 1);
    source.FillEmptyPresets(2);
    source.Preset(0)->SetName("first");
    source.Preset(1)->SetName("second");
    IStateChunk bank;
    source.SerializePresets(bank);
    const int slotSize = 4 + 5 + 1 + kNumTestParams * 8;

    // Cut inside the second slot's name: it takes the first slot's name, the rest is unread.
    IStateChunk cut;
    cut.PutBytes(bank.Data(), slotSize + 6);
    TestPlug plug("1-1 2-2", 2);
    EXPECT_EQ(plug.UnserializePresets(cut, 0), -1);
    EXPECT_STREQ(plug.PresetName(0), "first");
    EXPECT_STREQ(plug.PresetName(1), "first");
    EXPECT_FALSE(plug.Preset(1)->IsInitialized());
    EXPECT_EQ(Values(plug), (std::vector<double>{3, 3000, 3, 1}));

    // A count that lies about the name's length.
    IStateChunk liar;
    liar.PutInt32(std::numeric_limits<int32_t>::max());
    liar.PutBytes("abc", 3);
    TestPlug fresh("1-1 2-2", 2);
    EXPECT_EQ(fresh.UnserializePresets(liar, 0), -1);
    EXPECT_STREQ(fresh.PresetName(1), "empty") << "the second slot is never reached";
    EXPECT_STREQ(fresh.PresetName(0), "user preset 1") << "the unread current slot is captured on reload";
    EXPECT_TRUE(fresh.Preset(0)->IsInitialized());

    // A name longer than the field is cut, never written past it.
    IStateChunk longName;
    longName.PutString(std::string(5000, 'L'));
    longName.PutBool(false);
    EXPECT_EQ(fresh.UnserializePresets(longName, 0), -1) << "the second slot's name is missing";
    EXPECT_EQ(std::string(fresh.PresetName(1)), std::string(IPresetSlot::kNameSize - 1, 'L'))
        << "the second slot keeps the first slot's name, cut to the field";
    EXPECT_EQ(fresh.UnserializePresets(bank, -8), -8);
}

// A bank cut before it gives any state must not bring back the current slot's stored state,
// which is older than the present values; a bank whose only state is the current slot's applies
// it once (a second, redundant application would hide whether the bank's state was taken).
TEST(IPlugBasePresets, BankWithoutAStateKeepsThePresentValuesAndTheCurrentStateIsAppliedOnce)
{
    TestPlug plug;
    SetValues(plug, 3, 3000, 3, 1);
    plug.FillEmptyPresets(1);
    IStateChunk bank;
    ASSERT_TRUE(plug.SerializePresets(bank));

    SetValues(plug, -9, 90, 6, 0); // not captured into the slot
    for (int n : {0, 2, 6, 4 + 5}) // inside the name's count, inside the name, before the flag
    {
        IStateChunk cut;
        cut.PutBytes(bank.Data(), n);
        plug.changedParams.clear();
        EXPECT_EQ(plug.UnserializePresets(cut, 0), -1) << n;
        EXPECT_EQ(Values(plug), (std::vector<double>{-9, 90, 6, 0})) << "cut at " << n;
        EXPECT_TRUE(plug.changedParams.empty()) << "cut at " << n;
    }

    plug.changedParams.clear();
    EXPECT_EQ(plug.UnserializePresets(bank, 0), bank.Size());
    EXPECT_EQ(Values(plug), (std::vector<double>{3, 3000, 3, 1}));
    EXPECT_EQ(plug.changedParams, kAllParams);
}

// Every truncation and a few thousand seeded byte damages of a valid bank: reads stay inside
// the chunk (ASan), values stay in range, and positions are -1 or inside the chunk.
TEST(IPlugBasePresets, TruncatedAndDamagedBanksAreReadSafely)
{
    TestPlug source("1-1 2-2", 3);
    SetValues(source, 3, 3000, 3, 1);
    source.FillEmptyPresets(3);
    IStateChunk bank;
    source.SerializePresets(bank);

    auto checkRead = [](const IStateChunk& chunk) {
        TestPlug plug("1-1 2-2", 3);
        const int pos = plug.UnserializePresets(chunk, 0);
        EXPECT_TRUE(pos == -1 || (pos >= 0 && pos <= chunk.Size())) << pos;
        for (int i = 0; i < plug.ParamCount(); ++i)
        {
            const IParamSpec* p = plug.Param(i);
            EXPECT_TRUE(p->Value() >= p->Min() && p->Value() <= p->Max()) << p->Name() << " " << p->Value();
        }
        for (int s = 0; s < plug.PresetCount(); ++s)
            EXPECT_LT(std::strlen(plug.PresetName(s)), (size_t) IPresetSlot::kNameSize);
    };

    for (int n = 0; n <= bank.Size(); ++n)
    {
        IStateChunk cut;
        cut.PutBytes(bank.Data(), n);
        checkRead(cut);
    }

    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int k = 0; k < 3000; ++k)
    {
        IStateChunk damaged;
        damaged.PutBytes(bank);
        for (int flips = 1 + (int) (next() % 4); flips > 0; --flips)
            damaged.Data()[next() % (uint32_t) damaged.Size()] = (uint8_t) next();
        checkRead(damaged);
    }
}
