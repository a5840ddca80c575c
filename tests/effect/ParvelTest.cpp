// SPDX-License-Identifier: GPL-3.0-or-later
#include "Parvel.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace
{
class ParvelTest : public ::testing::Test
{
protected:
    TempHome home;
};

void ExpectFactoryParams(const Parvel& fx, int except = -1)
{
    const double factory[kNumParvelParams] = {0, 100, 0.707, 0, 0, 750, 0.707, 0, 0, 3000, 0.707, 0, 0,
                                              10000, 0.707, 0, 0, 0, 0, 20, 0, 0, 20000, 0, 0};
    for (int i = 0; i < kNumParvelParams; ++i)
    {
        if (i == except)
            continue;
        EXPECT_EQ(fx.Param(i)->Value(), factory[i]) << fx.Param(i)->Name();
        EXPECT_EQ(fx.Param(i)->Default(), factory[i]) << fx.Param(i)->Name();
    }
}
} // namespace

TEST_F(ParvelTest, WithoutSettingsFileStartsFromFactoryValuesAndOptions)
{
    Parvel fx;
    ExpectFactoryParams(fx);
    const EditorOptions& o = fx.Options();
    EXPECT_EQ(o.sizeIndex, 0);
    EXPECT_EQ(EditorOptions::WidthOfSize(o.sizeIndex), 204);
    EXPECT_EQ(EditorOptions::HeightOfSize(o.sizeIndex), 379);
    EXPECT_FALSE(fx.AnalyserOn());
    EXPECT_TRUE(o.analyserInput);
    EXPECT_FALSE(o.showGain);
    EXPECT_TRUE(o.showBgText);
    EXPECT_FALSE(o.editorOpen);
    EXPECT_EQ(o.magRange, 24.0f);
    EXPECT_EQ(o.analyserTop - o.analyserRange, -50.0f);
    EXPECT_EQ(o.analyserTop, 10.0f);
    EXPECT_EQ(fx.OutputGainFactor(), 1.0);
    EXPECT_EQ(fx.gainDisplay, nullptr);
    EXPECT_EQ(fx.sizeButton, nullptr);
    EXPECT_EQ(fx.freqDisplay, nullptr);
    EXPECT_EQ(fx.analyserView, nullptr);
    EXPECT_EQ(fx.GetGUI(), nullptr);
}

TEST_F(ParvelTest, SavedDefaultsChangeOnlyWhatTheyHold)
{
    home.WriteSettings("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PARVEL><DEFAULTS freq_lo=\"250\"/></PARVEL>\n");
    Parvel fx;
    EXPECT_EQ(fx.Param(kFreq_Low)->Value(), 250.0);
    EXPECT_EQ(fx.Param(kFreq_Low)->Default(), 250.0) << "hosts see the saved default";
    ExpectFactoryParams(fx, kFreq_Low);
    EXPECT_EQ(fx.Options().sizeIndex, 0);
}

TEST_F(ParvelTest, SavedOptionsReachTheNewInstance)
{
    home.WriteSettings("<PARVEL size=\"1\"><DEFAULTS showgain=\"1\" showbgtext=\"0\" magrange=\"12\" "
                       "showanalyser=\"1\" annalyserpre=\"0\" analysertop=\"0\" analyserrange=\"90\" "
                       "gain=\"6\" en_hi=\"1\" cutorderhicut=\"3\"/></PARVEL>");
    Parvel fx;
    const EditorOptions& o = fx.Options();
    EXPECT_EQ(o.sizeIndex, 1);
    EXPECT_TRUE(o.showGain);
    EXPECT_FALSE(o.showBgText);
    EXPECT_EQ(o.magRange, 12.0f);
    EXPECT_TRUE(fx.AnalyserOn());
    EXPECT_FALSE(o.analyserInput);
    EXPECT_EQ(o.analyserTop, 0.0f);
    EXPECT_EQ(o.analyserRange, 90.0f);
    EXPECT_EQ(fx.Param(kGain)->Value(), 6.0);
    EXPECT_EQ(fx.Param(kBand_High)->Value(), 1.0);
    EXPECT_EQ(fx.Param(kOrder_LP)->Value(), 3.0);
}

TEST_F(ParvelTest, DefaultSizeIsClampedIntoTheThreeSizes)
{
    const struct
    {
        const char* file;
        int size;
    } cases[] = {
        {"<PARVEL size=\"7\"/>", 2},
        {"<PARVEL size=\"-3\"/>", 0},
        {"<PARVEL size=\"2\"/>", 2},
        {"<PARVEL/>", 0},
        {"not xml at all", 0},
    };
    for (const auto& c : cases)
    {
        home.WriteSettings(c.file);
        Parvel fx;
        EXPECT_EQ(fx.Options().sizeIndex, c.size) << c.file;
        ExpectFactoryParams(fx);
    }
}

TEST_F(ParvelTest, SampleRateChangeRebuildsTheAnalyserEvenWhileItIsOff)
{
    Parvel fx;
    ASSERT_FALSE(fx.AnalyserOn());
    EXPECT_EQ(fx.Analyser().GroupCount(), 0);
    fx.ChangeSampleRate(48000.0);
    EXPECT_EQ(fx.GetSampleRate(), 48000.0);
    EXPECT_EQ(fx.Analyser().GroupCount(), BandAnalyser::kGroups);
    EXPECT_FLOAT_EQ(fx.Analyser().bandFreqs[0], 20.0f);
    EXPECT_FLOAT_EQ(fx.Analyser().bandFreqs[31], 20000.0f);

    for (double bad : {0.0, -44100.0, std::nan(""), (double) INFINITY})
    {
        fx.ChangeSampleRate(bad);
        EXPECT_EQ(fx.GetSampleRate(), 48000.0) << "rate " << bad << " is ignored";
    }
}

TEST_F(ParvelTest, BlockSizeChangeSizesBaseAndAnalyser)
{
    Parvel fx;
    fx.ChangeBlockSize(512);
    EXPECT_EQ(fx.GetBlockSize(), 512);
    EXPECT_EQ(fx.Analyser().BlockLength(), 512);
    fx.ChangeBlockSize(-4);
    EXPECT_EQ(fx.GetBlockSize(), 0);
    EXPECT_EQ(fx.Analyser().BlockLength(), 0);
}

TEST_F(ParvelTest, EditorHooksTrackTheWindow)
{
    Parvel fx;
    fx.EditorOpened();
    EXPECT_TRUE(fx.Options().editorOpen);
    fx.EditorResized();
    fx.EditorClosed();
    EXPECT_FALSE(fx.Options().editorOpen);
}

TEST_F(ParvelTest, SwitchingTheAnalyserOnStartsFromSilence)
{
    Parvel fx;
    fx.ChangeSampleRate(44100.0);
    fx.ChangeBlockSize(256);
    fx.SetAnalyserOn(true);
    std::vector<double> in(256), out0(256), out1(256);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = std::sin(2.0 * M_PI * 1000.0 * (double) i / 44100.0);
    double* ins[2] = {in.data(), nullptr};
    double* outs[2] = {out0.data(), out1.data()};
    fx.RenderBlock(ins, outs, 256);
    float before = 0.0f;
    for (int b = 0; b < BandAnalyser::kBands; ++b)
        before = std::max(before, (float) fx.Analyser().peaks[(size_t) b]);
    EXPECT_GT(before, 0.1f);

    fx.SetAnalyserOn(false);
    fx.SetAnalyserOn(true);
    for (int b = 0; b < BandAnalyser::kBands; ++b)
        EXPECT_EQ(fx.Analyser().peaks[(size_t) b], 0.0f) << "band " << b;
}
