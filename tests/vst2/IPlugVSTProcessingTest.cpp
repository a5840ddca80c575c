// SPDX-License-Identifier: GPL-3.0-or-later
// The three processing entries through the record: blocks longer than the announced block size,
// mono through effSetSpeakerArrangement, arrangements the plug-in cannot take, and host calls
// racing the audio thread.
#include "Vst2TestHost.h"

#include "ParvelParams.h"

#include <atomic>
#include <thread>

namespace
{
// An EQ setting that changes every channel audibly.
void SetUpEq(Vst2Instance& plugin)
{
    plugin.setParameterText(kBand_LoMid, "on");
    plugin.setParameterText(kFreq_LoMid, "1000");
    plugin.setParameterText(kGain_LoMid, "9");
    plugin.setParameterText(kBand_HP, "on");
    plugin.setParameterText(kFreq_HP, "200");
}

enum class Entry
{
    Replacing,
    Accumulating,
    Double,
};

// Renders frames of the test signal in calls of the given length; accumulating calls find 0.25
// in the output buffers.
std::vector<std::vector<double>> Render(Vst2Instance& plugin, int channels, int frames, int callLength, Entry entry)
{
    std::vector<std::vector<double>> result((size_t) channels, std::vector<double>((size_t) frames));
    AEffect* e = plugin.effect();
    for (int pos = 0; pos < frames; pos += callLength)
    {
        const int n = std::min(callLength, frames - pos);
        if (entry == Entry::Double)
        {
            HostBuffers<double> block(channels, channels, n);
            for (int c = 0; c < channels; ++c)
                for (int i = 0; i < n; ++i)
                    block.in[(size_t) c][(size_t) i] = TestSignal(c, pos + i);
            e->processDoubleReplacing(e, block.inPtrs.get(), block.outPtrs.get(), n);
            for (int c = 0; c < channels; ++c)
                std::copy(block.out[(size_t) c].begin(), block.out[(size_t) c].end(), result[(size_t) c].begin() + pos);
        }
        else
        {
            HostBuffers<float> block(channels, channels, n, entry == Entry::Accumulating ? 0.25f : 0.0f);
            for (int c = 0; c < channels; ++c)
                for (int i = 0; i < n; ++i)
                    block.in[(size_t) c][(size_t) i] = (float) TestSignal(c, pos + i);
            (entry == Entry::Accumulating ? e->process : e->processReplacing)(e, block.inPtrs.get(),
                                                                             block.outPtrs.get(), n);
            for (int c = 0; c < channels; ++c)
                for (int i = 0; i < n; ++i)
                    result[(size_t) c][(size_t) pos + (size_t) i] = block.out[(size_t) c][(size_t) i];
        }
    }
    return result;
}

bool TakeArrangement(Vst2Instance& plugin, int inputs, int outputs)
{
    VstSpeakerArrangement in{}, out{};
    in.numChannels = inputs;
    out.numChannels = outputs;
    in.type = out.type = kSpeakerArrMono;
    return plugin.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out) == 1;
}
} // namespace

// A call longer than the block size the host announced is processed whole, in pieces, exactly as
// the same audio in calls of the announced size; also double precision with a channel the host
// did not connect, which runs on the plug-in's own scratch.
TEST(IPlugVSTProcessing, OversizedCallsAreProcessedWholeInPieces)
{
    constexpr int kAnnounced = 64, kFrames = 1000;
    struct Case
    {
        Entry entry;
        int channels;
    };
    for (const Case& c : {Case{Entry::Replacing, 2}, Case{Entry::Accumulating, 2}, Case{Entry::Double, 2},
                          Case{Entry::Double, 1}, Case{Entry::Replacing, 1}})
    {
        TestPlugin once, inSteps;
        for (TestPlugin* p : {&once, &inSteps})
        {
            SetUpEq(**p);
            if (c.channels == 1)
            {
                ASSERT_TRUE(TakeArrangement(**p, 1, 1));
            }
            p->prepare(kAnnounced);
        }
        const auto whole = Render(*once, c.channels, kFrames, kFrames, c.entry);
        const auto pieces = Render(*inSteps, c.channels, kFrames, kAnnounced, c.entry);
        EXPECT_EQ(whole, pieces) << "entry " << (int) c.entry << ", " << c.channels << " channel(s)";

        // The plug-in did process: the EQ changed the signal, and an accumulating call added to
        // what the buffers held.
        double difference = 0;
        for (int i = 0; i < kFrames; ++i)
            difference = std::max(difference, std::abs(whole[0][(size_t) i]
                                                       - (c.entry == Entry::Accumulating ? 0.25 : 0.0)
                                                       - (double) (float) TestSignal(0, i)));
        EXPECT_GT(difference, 0.01) << "entry " << (int) c.entry;
    }
}

// With one input and one output the plug-in reads one host input buffer and writes one host
// output buffer (the pointer arrays hold one entry), and the result is the stereo plug-in's
// first channel.
TEST(IPlugVSTProcessing, MonoThroughTheSpeakerArrangement)
{
    TestPlugin mono, stereo;
    SetUpEq(*mono);
    SetUpEq(*stereo);
    EXPECT_TRUE(TakeArrangement(*mono, 1, 1));
    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    mono->dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
    EXPECT_EQ(in->numChannels, 1);
    EXPECT_EQ(in->type, kSpeakerArrMono);
    EXPECT_EQ(out->numChannels, 1);
    mono.prepare(256);
    stereo.prepare(256);
    const auto left = Render(*mono, 1, 2000, 256, Entry::Replacing);
    const auto both = Render(*stereo, 2, 2000, 256, Entry::Replacing);
    EXPECT_EQ(left[0], both[0]);

    // Back to stereo: both channels work again.
    EXPECT_TRUE(TakeArrangement(*mono, 2, 2));
    const auto again = Render(*mono, 2, 256, 256, Entry::Replacing);
    EXPECT_GT(std::abs(again[1][200]), 0.0);
}

// Channel counts no configuration allows are refused and leave the plug-in as it was.
TEST(IPlugVSTProcessing, ArrangementsThePluginCannotTakeAreRefused)
{
    TestPlugin plugin;
    struct Case
    {
        int inputs, outputs;
    };
    for (const Case& c : {Case{1, 2}, Case{2, 1}, Case{0, 0}, Case{6, 6}, Case{-1, 2}, Case{3, 3}})
        EXPECT_FALSE(TakeArrangement(*plugin, c.inputs, c.outputs)) << c.inputs << " in, " << c.outputs << " out";
    VstSpeakerArrangement mono{};
    mono.numChannels = 1;
    EXPECT_EQ(plugin->dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), nullptr), 1)
        << "one side given, and allowed";
    VstSpeakerArrangement stereo{};
    stereo.numChannels = 2;
    EXPECT_EQ(plugin->dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&stereo), nullptr), 1);

    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    plugin->dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
    EXPECT_EQ(in->numChannels, 2);
    EXPECT_EQ(out->numChannels, 2);
    SetUpEq(*plugin);
    plugin.prepare(128);
    const auto rendered = Render(*plugin, 2, 128, 128, Entry::Replacing);
    EXPECT_GT(std::abs(rendered[1][100]), 0.0) << "both channels still processed";
}

// A block size below one is no block size: the prepared one stays and audio still runs.
TEST(IPlugVSTProcessing, BlockSizesBelowOneKeepThePreparedSize)
{
    TestPlugin plugin, reference;
    for (TestPlugin* p : {&plugin, &reference})
    {
        SetUpEq(**p);
        p->prepare(128);
    }
    plugin->dispatch(effSetBlockSize, 0, 0);
    plugin->dispatch(effSetBlockSize, 0, -5);
    EXPECT_EQ(Render(*plugin, 2, 512, 128, Entry::Replacing), Render(*reference, 2, 512, 128, Entry::Replacing));
}

// Host calls on other threads while the audio thread processes: the plug-in lock keeps them apart
// (ThreadSanitizer checks the rest).
TEST(IPlugVSTProcessing, HostCallsRaceTheAudioThread)
{
    TestPlugin plugin;
    SetUpEq(*plugin);
    plugin.prepare(256);
    const std::vector<char> chunk = plugin->getChunk(false);
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        HostBuffers<float> block(2, 2, 256);
        AEffect* e = plugin.effect();
        while (!stop.load())
            e->processReplacing(e, block.inPtrs.get(), block.outPtrs.get(), 256);
    });
    for (int k = 0; k < 200; ++k)
    {
        plugin->setParameter(k % 25, (float) (k % 10) / 10.0f);
        (void) plugin->getParameter(k % 25);
        plugin->setParameterText(kFreq_LoMid, std::to_string(100 + k));
        (void) plugin->text(effGetParamDisplay, k % 25);
        if (k % 20 == 0)
        {
            EXPECT_EQ(plugin->setChunk(false, chunk), 1);
            EXPECT_FALSE(plugin->getChunk(true).empty());
        }
    }
    stop = true;
    audio.join();
}
