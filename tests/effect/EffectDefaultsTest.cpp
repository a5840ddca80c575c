// SPDX-License-Identifier: GPL-3.0-or-later
#include "EffectDefaults.h"
#include "ParvelParams.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
void ExpectSameDefaults(const EffectDefaults& a, const EffectDefaults& b)
{
    for (int i = 0; i < EffectDefaults::kNumBands; ++i)
    {
        SCOPED_TRACE("band " + std::to_string(i));
        EXPECT_EQ(a.bandOn[i], b.bandOn[i]);
        EXPECT_EQ(a.freq[i], b.freq[i]);
        EXPECT_EQ(a.q[i], b.q[i]);
        EXPECT_EQ(a.gain[i], b.gain[i]);
    }
    EXPECT_EQ(a.loShelf, b.loShelf);
    EXPECT_EQ(a.hiShelf, b.hiShelf);
    for (int k = 0; k < EffectDefaults::kNumCuts; ++k)
    {
        SCOPED_TRACE("cut " + std::to_string(k));
        EXPECT_EQ(a.cutOn[k], b.cutOn[k]);
        EXPECT_EQ(a.cutFreq[k], b.cutFreq[k]);
        EXPECT_EQ(a.cutOrder[k], b.cutOrder[k]);
    }
    EXPECT_EQ(a.outputGain, b.outputGain);
    EXPECT_EQ(a.showGain, b.showGain);
    EXPECT_EQ(a.showBgText, b.showBgText);
    EXPECT_EQ(a.magRange, b.magRange);
    EXPECT_EQ(a.showAnalyser, b.showAnalyser);
    EXPECT_EQ(a.analyserPre, b.analyserPre);
    EXPECT_EQ(a.analyserTop, b.analyserTop);
    EXPECT_EQ(a.analyserRange, b.analyserRange);
}

// A DEFAULTS element with one attribute, read over factory values.
EffectDefaults ReadOne(const char* key, const char* value)
{
    juce::XmlElement e("DEFAULTS");
    e.setAttribute(key, value);
    EffectDefaults d;
    EffectDefaults::ReadDefaults(&e, d);
    return d;
}

// Non-factory values in every field, each distinct, all inside their ranges.
EffectDefaults Custom()
{
    EffectDefaults d;
    d.bandOn = { true, false, true, true };
    d.freq = { 250.0, 1234.5, 4321.0, 15000.0 };
    d.q = { 0.5, 1.25, 3.3, 11.0 };
    d.gain = { -3.5, 6.1, -12.0, 23.9 };
    d.loShelf = true;
    d.hiShelf = true;
    d.cutOn = { true, true };
    d.cutFreq = { 45.0, 16000.0 };
    d.cutOrder = { 3, 7 };
    d.outputGain = -6.0;
    d.showGain = true;
    d.showBgText = false;
    d.magRange = 12.0f;
    d.showAnalyser = true;
    d.analyserPre = false;
    d.analyserTop = -20.0f;
    d.analyserRange = 90.0f;
    return d;
}
} // namespace

TEST(EffectDefaults, FactoryValues)
{
    const EffectDefaults d;
    for (int i = 0; i < EffectDefaults::kNumBands; ++i)
    {
        EXPECT_FALSE(d.bandOn[i]);
        EXPECT_EQ(0.707, d.q[i]);
        EXPECT_EQ(0.0, d.gain[i]);
    }
    EXPECT_EQ(100.0, d.freq[0]);
    EXPECT_EQ(750.0, d.freq[1]);
    EXPECT_EQ(3000.0, d.freq[2]);
    EXPECT_EQ(10000.0, d.freq[3]);
    EXPECT_FALSE(d.loShelf);
    EXPECT_FALSE(d.hiShelf);
    EXPECT_FALSE(d.cutOn[0]);
    EXPECT_FALSE(d.cutOn[1]);
    EXPECT_EQ(20.0, d.cutFreq[0]);
    EXPECT_EQ(20000.0, d.cutFreq[1]);
    EXPECT_EQ(0, d.cutOrder[0]);
    EXPECT_EQ(0, d.cutOrder[1]);
    EXPECT_EQ(0.0, d.outputGain);
    EXPECT_FALSE(d.showGain);
    EXPECT_TRUE(d.showBgText);
    EXPECT_EQ(24.0f, d.magRange);
    EXPECT_FALSE(d.showAnalyser);
    EXPECT_TRUE(d.analyserPre);
    EXPECT_EQ(10.0f, d.analyserTop);
    EXPECT_EQ(60.0f, d.analyserRange);

    ExpectSameDefaults(d, EffectDefaults::CaptureDefaults(nullptr));
}

TEST(EffectDefaults, OnlyFreqLoChangesOnlyTheLowFrequency)
{
    EffectDefaults expected;
    expected.freq[0] = 250.0;
    ExpectSameDefaults(expected, ReadOne("freq_lo", "250"));
}

TEST(EffectDefaults, BuiltElementReadsBackExactly)
{
    const auto e = EffectDefaults::BuildDefaultsElement(Custom());
    ASSERT_EQ("DEFAULTS", e->getTagName().toStdString());
    EXPECT_EQ(32, e->getNumAttributes());
    EffectDefaults d;
    EffectDefaults::ReadDefaults(e.get(), d);
    ExpectSameDefaults(Custom(), d);
}

TEST(EffectDefaults, WhereTheDefaultsElementIsFound)
{
    EffectDefaults expected;
    expected.freq[0] = 250.0;

    auto root = juce::parseXML(R"(<FOO><defaults freq_lo="111"/><DEFAULTS freq_lo="250"/><DEFAULTS freq_lo="333"/></FOO>)");
    EffectDefaults first;
    EffectDefaults::ReadDefaults(root.get(), first);
    ExpectSameDefaults(expected, first);

    auto itself = juce::parseXML(R"(<DEFAULTS freq_lo="250"/>)");
    EffectDefaults direct;
    EffectDefaults::ReadDefaults(itself.get(), direct);
    ExpectSameDefaults(expected, direct);

    // Nothing to read: a null root, a root without DEFAULTS, a nested DEFAULTS.
    EffectDefaults untouched = Custom();
    EffectDefaults::ReadDefaults(nullptr, untouched);
    auto none = juce::parseXML(R"(<PARVEL size="1"><X><DEFAULTS freq_lo="250"/></X></PARVEL>)");
    EffectDefaults::ReadDefaults(none.get(), untouched);
    ExpectSameDefaults(Custom(), untouched);
}

TEST(EffectDefaults, SwitchTexts)
{
    struct Case
    {
        const char* text;
        bool on;
    };
    const Case cases[] = {
        { "1", true },  { "t", true },    { "T", true },     { "y", true },     { "Y", true },
        { "yes", true }, { "  true", true }, { "TRUE", true }, { "0", false },   { "", false },
        { "no", false }, { "false", false }, { "2", false },   { " off", false }, { "-1", false },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        EXPECT_EQ(c.on, ReadOne("en_himid", c.text).bandOn[2]);
        // Replaces a value of the other sense, too.
        juce::XmlElement e("DEFAULTS");
        e.setAttribute("showbgtext", c.text);
        EffectDefaults d;
        d.showBgText = !c.on;
        EffectDefaults::ReadDefaults(&e, d);
        EXPECT_EQ(c.on, d.showBgText);
    }
}

TEST(EffectDefaults, KeysMatchExactlyWithTheFileSpelling)
{
    EXPECT_FALSE(ReadOne("annalyserpre", "0").analyserPre);
    EXPECT_TRUE(ReadOne("analyserpre", "0").analyserPre);
    EXPECT_EQ(100.0, ReadOne("FREQ_LO", "250").freq[0]);
    EXPECT_EQ(100.0, ReadOne("freq_low", "250").freq[0]);
    EXPECT_EQ(0, ReadOne("cutorder_locut", "5").cutOrder[0]);
    EXPECT_EQ(5, ReadOne("cutorderlocut", "5").cutOrder[0]);
    EXPECT_EQ(-6.0, ReadOne("gain", "-6").outputGain);
    EXPECT_EQ(0.0, ReadOne("gain", "-6").gain[0]);
}

// Numbers are read as their leading decimal number; what is not finite keeps the field, what
// lies outside the field's range is clamped into it.
TEST(EffectDefaults, NumbersAreReadAndKeptInRange)
{
    struct Case
    {
        const char* key;
        const char* text;
        double expected;
    };
    auto field = [](const EffectDefaults& d, const std::string& key) -> double {
        if (key == "freq_lo") return d.freq[0];
        if (key == "q_hi") return d.q[3];
        if (key == "gain_lomid") return d.gain[1];
        if (key == "cutfreq_hicut") return d.cutFreq[1];
        if (key == "cutorderlocut") return d.cutOrder[0];
        if (key == "cutorderhicut") return d.cutOrder[1];
        if (key == "gain") return d.outputGain;
        if (key == "magrange") return d.magRange;
        if (key == "analysertop") return d.analyserTop;
        return d.analyserRange;
    };
    const Case cases[] = {
        { "freq_lo", " 250.5Hz", 250.5 },
        { "freq_lo", "abc", 20.0 },  // no number reads 0, below the range
        { "freq_lo", "50000", 20000.0 },
        { "freq_lo", "-1e308", 20.0 },
        { "freq_lo", "nan", 100.0 },
        { "freq_lo", "inf", 100.0 },
        { "freq_lo", "-inf", 100.0 },
        { "freq_lo", "1e999", 100.0 },
        { "freq_lo", "1e99999999999", 100.0 },   // an exponent beyond int
        { "freq_lo", "1e-99999999999", 20.0 },
        { "freq_lo", "123456789012345678901234567890123456789", 20000.0 },
        { "q_hi", "0.01", 0.3 },
        { "q_hi", "99", 12.0 },
        { "gain_lomid", "-100", -24.0 },
        { "gain_lomid", "2.5e1", 24.0 },
        { "cutfreq_hicut", "5", 20.0 },
        { "cutorderlocut", "3.9", 3.0 },
        { "cutorderlocut", "99", 7.0 },
        { "cutorderhicut", "-5", 0.0 },
        { "cutorderhicut", "-2147483648", 0.0 },
        { "cutorderhicut", "4294967298", 7.0 },
        { "gain", "30", 24.0 },
        { "magrange", "0", 1.0 },
        { "magrange", "100", 100.0 },
        { "magrange", "1e9", 200.0 },
        { "magrange", "18", 18.0 },
        { "analysertop", "-100", -100.0 },
        { "analysertop", "-1e9", -200.0 },
        { "analysertop", "nan", 10.0 },
        { "analyserrange", "-5", 1.0 },
        { "analyserrange", "70", 70.0 },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.key) + "=\"" + c.text + "\"");
        EXPECT_EQ(c.expected, field(ReadOne(c.key, c.text), c.key));
    }
}

TEST(EffectDefaults, CaptureFollowsTheParameterIndices)
{
    std::array<double, kNumParvelParams> values {};
    for (int b = 0; b < kNumBands; ++b)
    {
        values[kBand_Low + 4 * b] = b % 2 == 0 ? 1.0 : 0.0;
        values[kFreq_Low + 4 * b] = 200.0 + b;
        values[kQ_Low + 4 * b] = 1.0 + b;
        values[kGain_Low + 4 * b] = -10.0 + b;
    }
    values[kLoShelf] = 0.5;  // on from one half up
    values[kHiShelf] = 0.49;
    values[kBand_HP] = 1.0;
    values[kFreq_HP] = 30.0;
    values[kOrder_HP] = 3.9; // truncated
    values[kBand_LP] = 0.0;
    values[kFreq_LP] = 12000.0;
    values[kOrder_LP] = 7.0;
    values[kGain] = 5.5;

    EditorOptionValues options;
    options.showGain = true;
    options.showBgText = false;
    options.magRange = 6.0f;
    options.analyserOn = true;
    options.analyserInput = false;
    options.analyserTop = 0.0f;
    options.analyserRange = 80.0f;

    const EffectDefaults d = EffectDefaults::CaptureDefaults(values, options);
    EffectDefaults expected;
    expected.bandOn = { true, false, true, false };
    expected.freq = { 200.0, 201.0, 202.0, 203.0 };
    expected.q = { 1.0, 2.0, 3.0, 4.0 };
    expected.gain = { -10.0, -9.0, -8.0, -7.0 };
    expected.loShelf = true;
    expected.hiShelf = false;
    expected.cutOn = { true, false };
    expected.cutFreq = { 30.0, 12000.0 };
    expected.cutOrder = { 3, 7 };
    expected.outputGain = 5.5;
    expected.showGain = true;
    expected.showBgText = false;
    expected.magRange = 6.0f;
    expected.showAnalyser = true;
    expected.analyserPre = false;
    expected.analyserTop = 0.0f;
    expected.analyserRange = 80.0f;
    ExpectSameDefaults(expected, d);
}
