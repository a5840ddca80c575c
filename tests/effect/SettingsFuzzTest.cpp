// SPDX-License-Identifier: GPL-3.0-or-later
// Deterministic mutation test of the settings file reader: a valid file is damaged in a few
// thousand seeded ways (cuts, bit flips, inserted junk and markup, hostile attribute values, deep
// nesting, repeated and deleted ranges) and read the way a new instance reads it. Whatever the
// bytes, the reader must return, and every default must be finite and inside its range.
#include "SettingsFile.h"

#include "ParvelParams.h"
#include "TempHome.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace
{
constexpr uint32_t kSeed = 0x5EED2026;
constexpr int kMutations = 3000;

class Mutator
{
public:
    explicit Mutator(uint32_t seed) : rng(seed) {}

    // A number in 0..n-1 straight from the engine, so the sequence is the same everywhere.
    size_t Below(size_t n) { return n == 0 ? 0 : (size_t) (rng() % n); }

    std::string Mutate(std::string s)
    {
        const size_t steps = 1 + Below(3);
        for (size_t i = 0; i < steps; ++i)
            MutateOnce(s);
        return s;
    }

private:
    void MutateOnce(std::string& s)
    {
        switch (Below(7))
        {
        case 0: // cut
            s.resize(Below(s.size() + 1));
            break;
        case 1: // bit flips
            for (size_t n = 1 + Below(8); n > 0 && !s.empty(); --n)
                s[Below(s.size())] ^= (char) (1u << Below(8));
            break;
        case 2: // junk bytes or a markup fragment
        {
            static const char* const kFragments[] = {
                "<", ">", "/>", "</", "<a>", "</PARVEL>", "<DEFAULTS>", "<DEFAULTS freq_lo=\"1e300\"/>", "&",
                "&#x", "&#1234567890123;", "&#x7FFFFFFF;", "&#xD800;", "&#0;", "&amp;", "&unknown;", "\"", "'", "=", "<!--", "-->", "<![CDATA[",
                "]]>", "<?", "?>", "<!DOCTYPE x [<!ENTITY e \"&e;&e;\">]>", "\xC3", "\xF4\x90\x80\x80",
                "\xEF\xBB\xBF", " size=\"9\"", " size=\"-2147483648\"",
            };
            std::string junk;
            if (Below(2) == 0)
                junk = kFragments[Below(std::size(kFragments))];
            else
                for (size_t n = 1 + Below(16); n > 0; --n)
                    junk += (char) Below(256);
            s.insert(Below(s.size() + 1), junk);
            break;
        }
        case 3: // a hostile attribute value
        {
            const size_t quote = s.find('"', Below(s.size() + 1));
            const size_t end = quote == std::string::npos ? quote : s.find('"', quote + 1);
            if (end == std::string::npos)
                break;
            static const char* const kValues[] = { "nan", "-nan", "NaN", "inf", "-inf", "INF", "1e999", "-1e999",
                                                   "1e-999", "", " ", "0x1p30", "+", "-", ".", "e5", "2147483648",
                                                   "-2147483649", "99999999999999999999", "1.#INF", "&amp;" };
            std::string value;
            if (Below(3) == 0)
                value = std::string(1 + Below(20000), (char) ('0' + Below(10)));
            else
                value = kValues[Below(std::size(kValues))];
            s.replace(quote + 1, end - quote - 1, value);
            break;
        }
        case 4: // nesting, shallow or far beyond any limit
        {
            const size_t depth = Below(2) == 0 ? 1 + Below(64) : 1 + Below(6000);
            std::string open, close;
            for (size_t d = 0; d < depth; ++d)
                open += "<n>";
            if (Below(2) == 0)
                for (size_t d = 0; d < depth; ++d)
                    close += "</n>";
            s.insert(Below(s.size() + 1), open + close);
            break;
        }
        case 5: // a range repeated
        {
            if (s.empty())
                break;
            const size_t from = Below(s.size());
            const std::string piece = s.substr(from, 1 + Below(200));
            for (size_t n = 1 + Below(Below(2) == 0 ? 4 : 300); n > 0; --n)
                s.insert(Below(s.size() + 1), piece);
            break;
        }
        default: // a range deleted
            if (!s.empty())
                s.erase(Below(s.size()), 1 + Below(64));
            break;
        }
    }

    std::mt19937 rng;
};

void WriteBytes(const std::string& bytes)
{
    std::ofstream(SettingsFile::SettingsFilePath().getFullPathName().toStdString(), std::ios::binary | std::ios::trunc)
        << bytes;
}

std::string ReadBytes()
{
    std::ifstream in(SettingsFile::SettingsFilePath().getFullPathName().toStdString(), std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

bool InRange(double v, double lo, double hi) { return std::isfinite(v) && v >= lo && v <= hi; }

void ExpectLegal(const EffectDefaults& d, int size, int iteration)
{
    auto param = [](int idx, double v) { return InRange(v, kParvelParams[idx].min, kParvelParams[idx].max); };
    SCOPED_TRACE("mutation " + std::to_string(iteration));
    for (int b = 0; b < EffectDefaults::kNumBands; ++b)
    {
        EXPECT_TRUE(param(kFreq_Low + 4 * b, d.freq[b])) << d.freq[b];
        EXPECT_TRUE(param(kQ_Low + 4 * b, d.q[b])) << d.q[b];
        EXPECT_TRUE(param(kGain_Low + 4 * b, d.gain[b])) << d.gain[b];
    }
    for (int k = 0; k < EffectDefaults::kNumCuts; ++k)
    {
        EXPECT_TRUE(param(kFreq_HP + 3 * k, d.cutFreq[k])) << d.cutFreq[k];
        EXPECT_TRUE(param(kOrder_HP + 3 * k, d.cutOrder[k])) << d.cutOrder[k];
    }
    EXPECT_TRUE(param(kGain, d.outputGain)) << d.outputGain;
    EXPECT_TRUE(InRange(d.magRange, kMinOptionSpanDb, kMaxOptionDb)) << d.magRange;
    EXPECT_TRUE(InRange(d.analyserTop, -kMaxOptionDb, kMaxOptionDb)) << d.analyserTop;
    EXPECT_TRUE(InRange(d.analyserRange, kMinOptionSpanDb, kMaxOptionDb)) << d.analyserRange;
    EXPECT_TRUE(size >= 0 && size <= 2) << size;
}
} // namespace

TEST(SettingsFuzz, MutatedFilesReadAsLegalDefaults)
{
    TempHome home;

    // The seed file: every field away from its factory value, and a size.
    EffectDefaults custom;
    custom.bandOn = { true, true, false, true };
    custom.freq = { 55.5, 420.0, 2500.25, 17000.0 };
    custom.q = { 0.4, 2.0, 5.5, 10.0 };
    custom.gain = { -20.0, 3.3, 7.7, 23.0 };
    custom.loShelf = custom.hiShelf = true;
    custom.cutOn = { true, true };
    custom.cutFreq = { 80.0, 9000.0 };
    custom.cutOrder = { 2, 6 };
    custom.outputGain = -4.5;
    custom.showGain = custom.showAnalyser = true;
    custom.showBgText = custom.analyserPre = false;
    custom.magRange = 12.0f;
    custom.analyserTop = -10.0f;
    custom.analyserRange = 80.0f;
    SettingsFile::SaveDefaultSize(1);
    SettingsFile::SaveCurrentAsDefaults(custom);
    const std::string seed = ReadBytes();
    ASSERT_GT(seed.size(), 1000u);

    Mutator mutator(kSeed);
    int changedReads = 0;
    for (int i = 0; i < kMutations; ++i)
    {
        WriteBytes(mutator.Mutate(seed));
        const auto root = SettingsFile::LoadSettingsRoot();
        ASSERT_NE(nullptr, root);
        EffectDefaults d;
        EffectDefaults::ReadDefaults(root.get(), d);
        const int size = SettingsFile::ReadDefaultSize(root.get());
        ExpectLegal(d, size, i);
        if (d.freq[2] != EffectDefaults {}.freq[2])
            ++changedReads;
        if (HasFailure())
            break;
    }
    // Most mutations leave enough of the file for it to be read; had none been read, the test
    // would only have exercised the rejection.
    EXPECT_GT(changedReads, kMutations / 10);
}
