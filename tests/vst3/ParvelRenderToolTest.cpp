// SPDX-License-Identifier: GPL-3.0-or-later
// parvel-render run as a user runs it: renders of the embedded sweep and of a WAV file, mono
// and stereo, 32 and 64 bit; the measured gain of an EQ setting at a few frequencies against
// the analog magnitudes the filters are matched to; exit codes for bad arguments.
#include "SweepSignal.h"
#include "WavFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace
{
const std::string kWork = PARVEL_TEST_WORK_DIR;

int RunTool(const std::string& args, std::string* output = nullptr)
{
    const std::string command = std::string(PARVEL_RENDER_TOOL) + " " + args + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    char line[512];
    std::string text;
    while (std::fgets(line, sizeof line, pipe) != nullptr)
        text += line;
    const int status = ::pclose(pipe);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

AudioBuffer Read(const std::string& path)
{
    AudioBuffer buffer;
    std::string error;
    EXPECT_TRUE(ReadAudioFile(path, buffer, error)) << error;
    return buffer;
}

double GainAt(const AudioBuffer& rendered, double hz)
{
    const SweepSpec spec;
    const AudioBuffer source = MakeSweep(spec, rendered.sampleRate, 1);
    double gain = 0;
    EXPECT_TRUE(SweepGainAt(spec, source, rendered, hz, gain)) << hz << " Hz";
    return gain;
}

// Analog magnitudes in dB: a bell of gain g dB, quality q at fc (the constant-Q form whose
// gain at fc is exactly g), and an n-th order Butterworth high-pass.
double BellDb(double f, double fc, double gDb, double q)
{
    const double a = std::pow(10.0, gDb / 40.0), w = f / fc;
    const double re = 1.0 - w * w;
    const double num = re * re + std::pow(w * a / q, 2), den = re * re + std::pow(w / (a * q), 2);
    return 10.0 * std::log10(num / den);
}

double ButterworthHighPassDb(double f, double fc, int order)
{
    return -10.0 * std::log10(1.0 + std::pow(fc / f, 2.0 * order));
}
} // namespace

TEST(ParvelRenderTool, RendersTheSweepInEveryChannelAndSampleFormat)
{
    struct Case
    {
        const char* options;
        int channels;
    };
    for (const Case& c : {Case{"", 2}, Case{"--mono", 1}, Case{"--double", 2}, Case{"--mono --double --block 100", 1}})
    {
        const std::string out = kWork + "/sweep.wav";
        std::remove(out.c_str());
        std::string log;
        ASSERT_EQ(RunTool(std::string(c.options) + " - " + out, &log), 0) << c.options << "\n" << log;
        const AudioBuffer rendered = Read(out);
        EXPECT_EQ(rendered.channels, c.channels) << c.options;
        EXPECT_EQ(rendered.frames, 240000) << "5 s at 48 kHz";
        EXPECT_EQ(rendered.sampleRate, 48000.0);
        for (double hz : {30.0, 1000.0, 15000.0})
            EXPECT_NEAR(GainAt(rendered, hz), 0.0, 0.05) << c.options << ": flat by default at " << hz << " Hz";
    }
}

TEST(ParvelRenderTool, AnEqSettingShapesTheSweepLikeItsFilters)
{
    const std::string out = kWork + "/eq.wav";
    std::string log;
    ASSERT_EQ(RunTool("--param Band_HiMid=1 --param Freq_HiMid=2000 --param Q_HiMid=2 --param Gain_HiMid=9 "
                      "--param Band_HP=1 --param Freq_HP=100 --param Order_HP=3 - " + out,
                      &log),
              0)
        << log;
    const AudioBuffer rendered = Read(out);
    for (double hz : {60.0, 100.0, 200.0, 1000.0, 2000.0, 4000.0})
    {
        const double expected = BellDb(hz, 2000.0, 9.0, 2.0) + ButterworthHighPassDb(hz, 100.0, 4);
        EXPECT_NEAR(GainAt(rendered, hz), expected, 0.6) << hz << " Hz";
    }

    const std::string bypassed = kWork + "/bypassed.wav";
    ASSERT_EQ(RunTool("--bypass --param Band_HiMid=1 --param Gain_HiMid=9 - " + bypassed, &log), 0) << log;
    EXPECT_NEAR(GainAt(Read(bypassed), 3000.0), 0.0, 0.01) << "bypass leaves the sweep as it is";
}

TEST(ParvelRenderTool, RendersAWavInputAndCarriesStateBetweenRuns)
{
    const std::string in = kWork + "/input.wav", out = kWork + "/fromfile.wav", state = kWork + "/state.bin";
    AudioBuffer tone = MakeSweep(SweepSpec{1000.0, 1000.0001, 0.5, 0.25}, 44100.0, 1);
    std::string error;
    ASSERT_TRUE(WriteFloatWav(in, tone, error)) << error;
    std::string log;
    ASSERT_EQ(RunTool("--param Band_LoMid=1 --param Freq_LoMid=1000 --param Gain_LoMid=-12 --state-out " + state +
                          " " + in + " " + out,
                      &log),
              0)
        << log;
    AudioBuffer rendered = Read(out);
    EXPECT_EQ(rendered.sampleRate, 44100.0) << "the input's rate by default";
    EXPECT_EQ(rendered.channels, 2) << "a mono file feeds both channels of a stereo render";
    EXPECT_EQ(rendered.frames, tone.frames);
    double rms = 0;
    for (long long n = tone.frames / 2; n < tone.frames; ++n)
        rms += (double) rendered.at(n, 1) * rendered.at(n, 1);
    rms = std::sqrt(rms / (double) (tone.frames - tone.frames / 2));
    EXPECT_NEAR(20.0 * std::log10(rms / (0.25 / std::sqrt(2.0))), -12.0, 0.2) << "the cut at its centre";

    // The saved state brings the same cut back without any --param.
    ASSERT_EQ(RunTool("--state-in " + state + " " + in + " " + out, &log), 0) << log;
    AudioBuffer again = Read(out);
    EXPECT_EQ(again.samples, rendered.samples);
}

TEST(ParvelRenderTool, BadArgumentsExitWithStatusTwo)
{
    std::string log;
    for (const char* args : {"--param Nonexistent=1", "--param Gain_Low=loud", "--param Gain_Low", "--block 0",
                             "--sample-rate fast", "--no-such-option", "--levels 100 " PARVEL_RENDER_TOOL})
    {
        EXPECT_EQ(RunTool(std::string(args) + " - " + kWork + "/never.wav", &log), 2) << args;
        EXPECT_NE(log.find("parvel-render:"), std::string::npos) << args << ": an error message on stderr";
    }
    EXPECT_EQ(RunTool("--module " + kWork + "/missing.vst3", &log), 1);
    EXPECT_EQ(RunTool(kWork + "/missing.wav " + kWork + "/never.wav", &log), 1);
    ASSERT_EQ(RunTool("--info", &log), 0);
    EXPECT_NE(log.find("title \"Freq_LoMid\", units \"Hz\""), std::string::npos) << log;
    EXPECT_NE(log.find("cid 0DE7AEF2DE004E4F5765786F50617276"), std::string::npos) << log;
}
