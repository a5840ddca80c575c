// SPDX-License-Identifier: GPL-3.0-or-later
// What the plug-in sends to the host: the effect built against the VST2 binding, linked into the
// test, so that the plug-in base's host-facing operations (which the editor and the effect call)
// can be driven directly, with the recording host of the integration tests on the other side.
#include "Parvel.h"
#include "Vst2Plugin.h"
#include "Vst2TestHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace
{
struct LinkedPlugin
{
    LinkedPlugin()
    {
        plug = std::make_unique<Parvel>();
        AEffect* e = plug->ReadyForHost(&Vst2Host::Callback);
        e->user = &host;
    }
    Vst2Host host;
    std::unique_ptr<Parvel> plug;
};

// An editor double that records what reaches the controls.
struct RecordingEditor : IEditorLink
{
    struct Push
    {
        int paramIdx;
        double value;
        bool isNormalized;
    };
    void SetParamOnControls(int, double) override {}
    void PushParamToControls(int paramIdx, double value, bool isNormalized) override
    {
        pushes->push_back({paramIdx, value, isNormalized});
    }
    void PrepareDrawingSurfaces() override {}
    std::shared_ptr<std::vector<Push>> pushes = std::make_shared<std::vector<Push>>();
};
} // namespace

TEST(IPlugVSTHostCalls, OperationsBecomeTheirHostOpcodes)
{
    LinkedPlugin p;
    p.plug->BeginParamGesture(kGain_HiMid);
    p.plug->NotifyHostParamValue(kGain_HiMid, 0.25);
    p.plug->EndParamGesture(kGain_HiMid);
    p.plug->NotifyHostPresetChanged();
    const std::vector<Vst2HostCall> calls = p.host.calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(calls[0].index, kGain_HiMid);
    EXPECT_EQ(calls[1].opcode, audioMasterAutomate);
    EXPECT_EQ(calls[1].index, kGain_HiMid);
    EXPECT_EQ(calls[1].opt, 0.25f);
    EXPECT_EQ(calls[2].opcode, audioMasterEndEdit);
    EXPECT_EQ(calls[2].index, kGain_HiMid);
    EXPECT_EQ(calls[3].opcode, audioMasterUpdateDisplay);

    // An editor edit: stored, and the host told with the editor's value.
    p.host.clear();
    p.plug->SetParamFromEditor(kOrder_LP, 0.3);
    ASSERT_EQ(p.host.count(audioMasterAutomate), 1);
    EXPECT_EQ(p.host.calls()[0].opt, 0.3f);
    EXPECT_EQ(p.plug->Param(kOrder_LP)->Value(), 2.0);

    for (VstInt32 level : {kVstProcessLevelOffline, kVstProcessLevelRealtime})
    {
        p.host.processLevel = level;
        EXPECT_EQ(p.plug->IsOfflineRender(), level == kVstProcessLevelOffline);
    }
}

// The host's product and vendor version give the host ID and version; the version arrives as
// major * 10000 + minor * 100 + third and is kept as major << 16 | minor << 8 | third.
TEST(IPlugVSTHostCalls, HostIdentification)
{
    struct Case
    {
        const char* product;
        VstIntPtr vendorVersion;
        int hostId;
        int hostVersion;
    };
    const Case cases[] = {
        {"REAPER", 10203, 1, 66051},
        {"Ardour", 80012, 28, 8 * 65536 + 12},
        {"Cubase", 120099, 3, 12 * 65536 + 99},
        {"Some Host", 0, 0, 0},
        {"Some Host", -40, 0, 0},
        {"", 10203, 0, 0},
    };
    for (const Case& c : cases)
    {
        LinkedPlugin p;
        p.host.productString = c.product;
        p.host.vendorVersion = c.vendorVersion;
        EXPECT_EQ(p.plug->GetHostId(), c.hostId) << c.product;
        EXPECT_EQ(p.plug->GetHostVersion(), c.hostVersion) << c.product << " " << c.vendorVersion;
        EXPECT_EQ(p.plug->GetHostId(), c.hostId) << "asked once";
        EXPECT_EQ(p.host.count(audioMasterGetProductString), 1);
    }
    EXPECT_EQ(IPlugVST::VersionFromDecimal(10203), 66051);
    EXPECT_EQ(IPlugVST::DecimalVersion(66051), 10203);
}

TEST(IPlugVSTHostCalls, TransportFromTheHostsTimeInfo)
{
    LinkedPlugin p;
    VstTimeInfo& t = p.host.time;
    t.samplePos = 4410.6;
    t.tempo = 97.5;
    t.ppqPos = 8.25;
    t.barStartPos = 8.0;
    t.cycleStartPos = 4.0;
    t.cycleEndPos = 12.0;
    t.timeSigNumerator = 7;
    t.timeSigDenominator = 8;
    t.flags = kVstTempoValid | kVstTimeSigValid | kVstPpqPosValid | kVstTransportPlaying;

    EXPECT_EQ(p.plug->GetSamplePosition(), 4411);
    EXPECT_EQ(p.plug->GetTempoBpm(), 97.5);
    int numerator = -1, denominator = -1;
    p.plug->GetTimeSignature(numerator, denominator);
    EXPECT_EQ(numerator, 7);
    EXPECT_EQ(denominator, 8);
    TransportInfo info;
    info.lastBar = -3;
    p.plug->GetTransportInfo(info);
    EXPECT_EQ(info.samplePos, 4410.6);
    EXPECT_EQ(info.ppqPos, 8.25);
    EXPECT_EQ(info.tempo, 97.5);
    EXPECT_EQ(info.lastBar, -3) << "bars not valid: kept";
    EXPECT_EQ(info.cycleStart, 0.0) << "cycle not valid: kept";
    EXPECT_EQ(info.numerator, 7);
    EXPECT_TRUE(info.transportRunning);
    EXPECT_FALSE(info.loopActive);
    const std::vector<Vst2HostCall> calls = p.host.calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].value, 0);
    EXPECT_EQ(calls[1].value, kVstTempoValid);
    EXPECT_EQ(calls[2].value, kVstTimeSigValid);
    EXPECT_EQ(calls[3].value, 0x3E00);

    // A zero time signature counts for the query, not for the transport record.
    t.timeSigNumerator = 0;
    p.plug->GetTimeSignature(numerator, denominator);
    EXPECT_EQ(numerator, 0);
    p.plug->GetTransportInfo(info);
    EXPECT_EQ(info.numerator, 7);

    // A host without time info.
    p.host.answersTime = false;
    TransportInfo untouched;
    untouched.tempo = 33;
    p.plug->GetTransportInfo(untouched);
    EXPECT_EQ(untouched.tempo, 33);
    EXPECT_EQ(p.plug->GetSamplePosition(), 0);
    EXPECT_EQ(p.plug->GetTempoBpm(), 0.0);
}

// A plug-in made without a host callback answers the host-facing operations on its own.
TEST(IPlugVSTHostCalls, WithoutACallbackNothingIsCalled)
{
    Parvel plug;
    plug.ReadyForHost(nullptr);
    plug.BeginParamGesture(0);
    plug.SetParamFromEditor(kGain, 0.5);
    plug.EndParamGesture(0);
    EXPECT_EQ(plug.GetHostId(), 0);
    EXPECT_FALSE(plug.IsOfflineRender());
    EXPECT_EQ(plug.GetTempoBpm(), 0.0);
    MidiMessage note;
    note.status = 0x90;
    EXPECT_FALSE(plug.SendMidiToHost(note));
}

// Values from the host reach an attached editor's controls: normalised from setParameter, plain
// from text entry. On Linux there is no window for an editor, so none is advertised even then.
TEST(IPlugVSTHostCalls, HostChangesReachTheEditorControls)
{
    LinkedPlugin p;
    auto* editor = new RecordingEditor();
    auto pushes = editor->pushes;
    p.plug->AttachEditor(editor);
    AEffect* e = p.plug->Effect();
    EXPECT_EQ(e->flags & effFlagsHasEditor, 0);
    ERect* rect = nullptr;
    EXPECT_EQ(e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0), 0);
    EXPECT_EQ(e->dispatcher(e, effEditOpen, 0, 0, nullptr, 0), 0);

    e->setParameter(e, kGain_Low, 0.75f);
    e->dispatcher(e, effString2Parameter, kFreq_Low, 0, const_cast<char*>("440"), 0);
    ASSERT_EQ(pushes->size(), 2u);
    EXPECT_EQ((*pushes)[0].paramIdx, kGain_Low);
    EXPECT_EQ((*pushes)[0].value, 0.75);
    EXPECT_TRUE((*pushes)[0].isNormalized);
    EXPECT_EQ((*pushes)[1].paramIdx, kFreq_Low);
    EXPECT_EQ((*pushes)[1].value, 440.0);
    EXPECT_FALSE((*pushes)[1].isNormalized);
    EXPECT_EQ(p.host.count(audioMasterAutomate), 0);
}

// A host that processes while it handles the plug-in's notification (it holds its own lock around
// both, as many do) must find the plug-in lock free: an editor edit tells the host only after
// releasing it. The probe starts a processing call on another thread from inside the callback and
// gives it ten seconds; with the lock held it could only run once the callback had returned.
TEST(IPlugVSTHostCalls, EditorEditReachesAHostThatProcessesMeanwhileThread)
{
    LinkedPlugin p;
    AEffect* e = p.plug->Effect();
    e->dispatcher(e, effSetBlockSize, 0, 64, nullptr, 0);
    std::future<void> audio; // outlives the callback, so a held lock cannot stall the probe itself
    bool processedDuringCallback = false;
    p.host.onCall = [&](const Vst2HostCall& call) {
        if (call.opcode != audioMasterAutomate)
            return;
        audio = std::async(std::launch::async, [e] {
            HostBuffers<float> block(2, 2, 64);
            e->processReplacing(e, block.inPtrs.get(), block.outPtrs.get(), 64);
        });
        processedDuringCallback = audio.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    };
    p.plug->SetParamFromEditor(kFreq_HiMid, 0.5);
    audio.wait();
    EXPECT_EQ(p.host.count(audioMasterAutomate), 1);
    EXPECT_TRUE(processedDuringCallback) << "the host was called with the plug-in lock held";
}
