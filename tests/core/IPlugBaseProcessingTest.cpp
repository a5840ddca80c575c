// SPDX-License-Identifier: GPL-3.0-or-later
#include "IPlugBase.h"

#include "TestPlug.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{
// Output = 2 x input, and a record of the block lengths RenderBlock was given.
class GainPlug : public TestPlug
{
public:
    using TestPlug::TestPlug;
    void RenderBlock(double** inputs, double** outputs, int nFrames) override
    {
        blocks.push_back(nFrames);
        for (int c = 0; c < NOutChannels(); ++c)
            for (int i = 0; i < nFrames; ++i)
                outputs[c][i] = 2.0 * (c < NInChannels() ? inputs[c][i] : 0.0);
    }
    std::vector<int> blocks;
};

void ConnectAll(IPlugBase& plug)
{
    for (int c = 0; c < plug.NInChannels(); ++c)
        plug.InChannel(c)->connected = true;
    for (int c = 0; c < plug.NOutChannels(); ++c)
        plug.OutChannel(c)->connected = true;
}

std::vector<float> Ramp(int n, float start)
{
    std::vector<float> v((size_t) n);
    for (int i = 0; i < n; ++i)
        v[(size_t) i] = start + 0.25f * (float) i;
    return v;
}
} // namespace

TEST(IPlugBaseProcessing, BaseRenderBlockZeroesOutputsWithoutAMatchingInput)
{
    TestPlug plug("1-2");
    std::vector<double> in = {1, 2, 3}, out0(3, 9), out1(3, 9);
    double* inputs[] = {in.data()};
    double* outputs[] = {out0.data(), out1.data()};
    plug.RenderBlock(inputs, outputs, 3);
    EXPECT_EQ(out0, in);
    EXPECT_EQ(out1, (std::vector<double>(3, 0.0)));

    double* nullOutputs[] = {nullptr, out1.data()};
    double* nullInputs[] = {nullptr};
    out1.assign(3, 9);
    plug.RenderBlock(nullInputs, nullOutputs, 3);
    EXPECT_EQ(out1, (std::vector<double>(3, 0.0)));
}

TEST(IPlugBaseProcessing, ChangeBlockSizeResizesAndZeroesOnlyOnAChange)
{
    TestPlug plug;
    plug.ChangeBlockSize(64);
    ASSERT_EQ(plug.InChannel(1)->scratch.size(), 64u);
    EXPECT_EQ(plug.InData()[1], plug.InChannel(1)->scratch.data());
    plug.InChannel(1)->scratch[5] = 7.0;
    plug.OutChannel(0)->scratch[0] = 3.0;
    plug.ChangeBlockSize(64);
    EXPECT_EQ(plug.InChannel(1)->scratch[5], 7.0);
    EXPECT_EQ(plug.OutChannel(0)->scratch[0], 3.0);
    plug.ChangeBlockSize(32);
    EXPECT_EQ(plug.GetBlockSize(), 32);
    EXPECT_EQ(plug.OutChannel(0)->scratch, std::vector<double>(32, 0.0));

    plug.InChannel(0)->scratch[1] = 1.0;
    plug.OutChannel(1)->scratch[31] = 1.0;
    plug.ClearScratch();
    EXPECT_EQ(plug.InChannel(0)->scratch, std::vector<double>(32, 0.0));
    EXPECT_EQ(plug.OutChannel(1)->scratch, std::vector<double>(32, 0.0));
}

TEST(IPlugBaseProcessing, ConnectInputsConsumesHostBuffersOnlyForConnectedChannels)
{
    TestPlug plug;
    plug.ChangeBlockSize(4);
    plug.InChannel(1)->connected = true;
    std::vector<float> a = {1, 2, 3, 4}, b = {5, 6, 7, 8};
    const float* buffers[] = {a.data(), b.data()};
    plug.ConnectInputs(0, 5, buffers, 4); // more channels asked than exist
    EXPECT_EQ(plug.InChannel(1)->scratch, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(plug.InData()[1], plug.InChannel(1)->scratch.data());
    EXPECT_EQ(plug.InChannel(0)->scratch, std::vector<double>(4, 0.0));

    plug.InChannel(0)->connected = true;
    plug.ConnectInputs(1, 1, buffers, 4);
    EXPECT_EQ(plug.InChannel(0)->scratch, std::vector<double>(4, 0.0)) << "starts at first";
    EXPECT_EQ(plug.InChannel(1)->scratch, (std::vector<double>{1, 2, 3, 4}));
}

TEST(IPlugBaseProcessing, FloatBlocksConvertThroughTheScratch)
{
    GainPlug plug;
    plug.ChangeBlockSize(8);
    ConnectAll(plug);
    std::vector<float> inL = Ramp(8, 1), inR = Ramp(8, -1), outL(8, 100), outR(8, 100);
    const float* inputs[] = {inL.data(), inR.data()};
    float* outputs[] = {outL.data(), outR.data()};

    plug.ConnectInputs(0, 2, inputs, 8);
    plug.ConnectOutputs(0, 2, outputs);
    plug.ProcessFloatBlock(8);
    for (int i = 0; i < 8; ++i)
    {
        EXPECT_EQ(outL[(size_t) i], 2 * inL[(size_t) i]);
        EXPECT_EQ(outR[(size_t) i], 2 * inR[(size_t) i]);
    }

    plug.ConnectInputs(0, 2, inputs, 8);
    plug.ConnectOutputs(0, 2, outputs);
    plug.ProcessFloatBlockAdding(8);
    EXPECT_EQ(outL[3], 4 * inL[3]) << "adding accumulates onto the host buffer";

    plug.ConnectInputs(0, 2, inputs, 8);
    plug.ConnectOutputs(0, 2, outputs);
    plug.BypassFloatBlock(8);
    EXPECT_EQ(outL, inL) << "bypass copies and never calls the effect";
    EXPECT_EQ(outR, inR);
    EXPECT_EQ(plug.blocks.size(), 2u);
}

TEST(IPlugBaseProcessing, DoubleBlocksUseTheHostBuffersDirectly)
{
    GainPlug plug;
    plug.ChangeBlockSize(8);
    ConnectAll(plug);
    std::vector<double> inL = {1, 2, 3, 4}, inR = {-1, -2, -3, -4}, outL(4), outR(4);
    double* inputs[] = {inL.data(), inR.data()};
    double* outputs[] = {outL.data(), outR.data()};
    plug.ConnectInputs(0, 2, inputs);
    plug.ConnectOutputs(0, 2, outputs);
    EXPECT_EQ(plug.InData()[0], inL.data());
    EXPECT_EQ(plug.OutData()[1], outR.data());
    plug.ProcessDoubleBlock(4);
    EXPECT_EQ(outL, (std::vector<double>{2, 4, 6, 8}));
    EXPECT_EQ(outR, (std::vector<double>{-2, -4, -6, -8}));

    plug.ConnectInputs(0, 2, inputs);
    plug.ConnectOutputs(0, 2, outputs);
    plug.BypassDoubleBlock(4);
    EXPECT_EQ(outL, inL);
    EXPECT_EQ(plug.InData()[0], plug.InChannel(0)->scratch.data()) << "host buffers are forgotten after a block";
}

TEST(IPlugBaseProcessing, OversizedBlocksAreRenderedInPiecesOfTheBlockSize)
{
    const int kBlock = 64, kFrames = 300;
    GainPlug plug;
    plug.ChangeBlockSize(kBlock);
    ConnectAll(plug);
    std::vector<float> inL = Ramp(kFrames, 0), inR = Ramp(kFrames, 5), outL(kFrames), outR(kFrames);
    const float* inputs[] = {inL.data(), inR.data()};
    float* outputs[] = {outL.data(), outR.data()};
    plug.ConnectInputs(0, 2, inputs, kFrames);
    plug.ConnectOutputs(0, 2, outputs);
    plug.ProcessFloatBlock(kFrames);
    EXPECT_EQ(plug.blocks, (std::vector<int>{64, 64, 64, 64, 44}));
    for (int i = 0; i < kFrames; ++i)
    {
        ASSERT_EQ(outL[(size_t) i], 2 * inL[(size_t) i]) << "frame " << i;
        ASSERT_EQ(outR[(size_t) i], 2 * inR[(size_t) i]) << "frame " << i;
    }

    // Double precision with the second output bus off: its data pointer stays on the scratch.
    plug.blocks.clear();
    plug.OutChannel(1)->connected = false;
    std::vector<double> dIn(kFrames, 1.0), dOut(kFrames, 0.0);
    double* dInputs[] = {dIn.data(), dIn.data()};
    double* dOutputs[] = {dOut.data()};
    plug.ConnectInputs(0, 2, dInputs);
    plug.ConnectOutputs(0, 1, dOutputs);
    plug.ProcessDoubleBlock(kFrames);
    EXPECT_EQ(plug.blocks.size(), 5u);
    EXPECT_EQ(dOut, std::vector<double>(kFrames, 2.0));
}

TEST(IPlugBaseProcessing, HostBlocksThatDoNotMatchTheConnectionStayInBounds)
{
    GainPlug plug;
    plug.ChangeBlockSize(16);
    ConnectAll(plug);
    std::vector<float> shortIn = Ramp(10, 1), out(40, 9.0f);
    const float* inputs[] = {shortIn.data(), nullptr};
    float* outputs[] = {out.data(), nullptr};
    plug.ConnectInputs(0, 2, inputs, 10);
    plug.ConnectOutputs(0, 2, outputs);
    plug.ProcessFloatBlock(40); // more frames than the input buffer the host gave
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(out[(size_t) i], i < 10 ? 2 * shortIn[(size_t) i] : 0.0f) << "frame " << i;

    // A block without a new connection reads no stale host buffer.
    plug.ConnectOutputs(0, 2, outputs);
    plug.ProcessFloatBlock(40);
    EXPECT_EQ(plug.InChannel(0)->floatSource, nullptr);

    plug.ProcessFloatBlock(0);
    plug.ProcessFloatBlock(-5);
    EXPECT_EQ(plug.blocks.size(), 6u) << "zero and negative frame counts render nothing";
}

TEST(IPlugBaseProcessing, WithoutABlockSizeNothingIsRenderedAndOutputsAreSilent)
{
    GainPlug plug;
    ConnectAll(plug);
    std::vector<float> in = Ramp(32, 1), out(32, 9.0f), added(32, 9.0f);
    const float* inputs[] = {in.data(), in.data()};
    float* outputs[] = {out.data(), nullptr};
    plug.ConnectInputs(0, 2, inputs, 32);
    plug.ConnectOutputs(0, 2, outputs);
    plug.ProcessFloatBlock(32);
    EXPECT_EQ(out, std::vector<float>(32, 0.0f));

    float* addOutputs[] = {added.data(), nullptr};
    plug.ConnectOutputs(0, 2, addOutputs);
    plug.ProcessFloatBlockAdding(32);
    EXPECT_EQ(added, std::vector<float>(32, 9.0f));
    EXPECT_TRUE(plug.blocks.empty());
}

TEST(IPlugBaseProcessing, BypassRunsThroughTheDelayLineWhenThereIsLatency)
{
    GainPlug plug;
    plug.ChangeBlockSize(4);
    ConnectAll(plug);
    plug.CreateLatencyDelayLine();
    ASSERT_NE(plug.LatencyDelayLine(), nullptr);
    plug.SetLatencySamples(3);
    EXPECT_EQ(plug.LatencyDelayLine()->Delay(), 3);

    std::vector<float> in = {1, 2, 3, 4, 5, 6}, outL(6), outR(6);
    const float* inputs[] = {in.data(), in.data()};
    float* outputs[] = {outL.data(), outR.data()};
    plug.ConnectInputs(0, 2, inputs, 6);
    plug.ConnectOutputs(0, 2, outputs);
    plug.BypassFloatBlock(6);
    EXPECT_EQ(outL, (std::vector<float>{0, 0, 0, 1, 2, 3}));
    EXPECT_EQ(outR, outL);
    EXPECT_TRUE(plug.blocks.empty());
}
