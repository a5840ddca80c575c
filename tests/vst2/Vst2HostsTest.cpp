// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in in programs that host it: parvel-render --vst2, whose render must equal the VST3
// module's for the same options, and Ardour's VST2 scanner when Ardour is installed.
#include "WavFile.h"

#include <gtest/gtest.h>

#include <glob.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
const std::string kWork = PARVEL_TEST_WORK_DIR;

int RunCommand(const std::string& command, std::string* output = nullptr)
{
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
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

std::vector<std::string> Glob(const std::string& pattern)
{
    std::vector<std::string> paths;
    glob_t found{};
    if (::glob(pattern.c_str(), 0, nullptr, &found) == 0)
        for (size_t i = 0; i < found.gl_pathc; ++i)
            paths.emplace_back(found.gl_pathv[i]);
    ::globfree(&found);
    return paths;
}

AudioBuffer Read(const std::string& path)
{
    AudioBuffer buffer;
    std::string error;
    EXPECT_TRUE(ReadAudioFile(path, buffer, error)) << error;
    return buffer;
}
} // namespace

TEST(Vst2Hosts, RenderThroughVst2EqualsTheVst3Module)
{
    const std::string params = "--param Band_LoMid=1 --param Freq_LoMid=1200 --param Q_LoMid=2.5 "
                               "--param Gain_LoMid=7.5 --param Band_High=1 --param HiShelf=1 --param Gain_High=-4 "
                               "--param Band_HP=1 --param Freq_HP=90 --param Order_HP=3 --param Band_LP=1 "
                               "--param Freq_LP=12000 --param Order_LP=1";
    for (const char* options : {"", "--mono --double --block 100 --sample-rate 44100"})
    {
        const std::string vst3 = kWork + "/vst3.wav", vst2 = kWork + "/vst2.wav";
        std::remove(vst3.c_str());
        std::remove(vst2.c_str());
        std::string log;
        const std::string tool = std::string(PARVEL_RENDER_TOOL) + " " + options + " " + params;
        ASSERT_EQ(RunCommand(tool + " - " + vst3, &log), 0) << log;
        ASSERT_EQ(RunCommand(tool + " --vst2 " + PARVEL_VST2_PLUGIN + " - " + vst2, &log), 0) << log;
        const AudioBuffer a = Read(vst3), b = Read(vst2);
        ASSERT_EQ(a.channels, b.channels) << options;
        ASSERT_EQ(a.frames, b.frames) << options;
        ASSERT_EQ(a.sampleRate, b.sampleRate) << options;
        double worst = 0, peakChange = 0;
        for (size_t i = 0; i < a.samples.size(); ++i)
            worst = std::max(worst, (double) std::abs(a.samples[i] - b.samples[i]));
        EXPECT_LE(worst, 1e-6) << options;

        // The setting did shape the audio: the VST2 render is not the unprocessed sweep.
        std::string flatLog;
        const std::string flat = kWork + "/flat.wav";
        ASSERT_EQ(RunCommand(std::string(PARVEL_RENDER_TOOL) + " " + options + " --vst2 " + PARVEL_VST2_PLUGIN + " - " + flat,
                      &flatLog),
                  0)
            << flatLog;
        const AudioBuffer f = Read(flat);
        for (size_t i = 0; i < f.samples.size() && i < b.samples.size(); ++i)
            peakChange = std::max(peakChange, (double) std::abs(f.samples[i] - b.samples[i]));
        EXPECT_GT(peakChange, 0.05) << options;
    }
}

// Ardour's VST2 scanner loads the plug-in, reads its record and names and writes its cache entry.
TEST(Vst2Hosts, ArdourScannerIndexesThePlugin)
{
    std::vector<std::string> scanners = Glob("/usr/lib/ardour*/ardour-vst-scanner");
    for (const std::string& other : Glob("/usr/lib/ardour*/ardour*-lxvst-scanner"))
        scanners.push_back(other);
    if (scanners.empty())
        GTEST_SKIP() << "Ardour's VST2 scanner is not installed";
#ifdef PARVEL_SANITIZED_PLUGIN
    GTEST_SKIP() << "a plug-in built with a sanitizer loads only in hosts built with it";
#endif
    const std::string scanner = scanners.front();
    const std::string libraries = scanner.substr(0, scanner.rfind('/'));
    const std::string home = kWork + "/ardour-home";
    ASSERT_EQ(RunCommand("rm -rf '" + home + "' && mkdir -p '" + home + "'"), 0);

    std::string log;
    ASSERT_EQ(RunCommand("HOME='" + home + "' LD_LIBRARY_PATH='" + libraries + "' '" + scanner + "' -f '" +
                      PARVEL_VST2_PLUGIN + "'",
                  &log),
              0)
        << log;
    const std::vector<std::string> caches = Glob(home + "/.cache/ardour*/vst/*.v2i");
    ASSERT_EQ(caches.size(), 1u) << log;
    std::ifstream file(caches.front());
    std::stringstream text;
    text << file.rdbuf();
    const std::string cache = text.str();
    for (const char* expected : {"id=\"1348563574\"", "name=\"Parvel\"", "creator=\"wexo\"", "category=\"Effect\"",
                                 "n_inputs=\"2\"", "n_outputs=\"2\"", "n_midi_inputs=\"0\"", "is_instrument=\"0\"",
                                 "can_process_replace=\"1\"", "has_editor=\"0\""})
        EXPECT_NE(cache.find(expected), std::string::npos) << expected << " in\n" << cache;
}
