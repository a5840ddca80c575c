// SPDX-License-Identifier: GPL-3.0-or-later
#include "IParamSpec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void DefineFreq(IParamSpec& p)
{
    p.DefineDouble("Freq_Lo", 1000.0, 20.0, 20000.0, 1.0, "Hz", 2.0);
}
} // namespace

TEST(IParamSpec, UndefinedRecordHasItsInitialFields)
{
    IParamSpec p;
    EXPECT_EQ(p.Kind(), ParamKind::Undefined);
    EXPECT_EQ(p.Value(), 0.0);
    EXPECT_EQ(p.Min(), 0.0);
    EXPECT_EQ(p.Max(), 1.0);
    EXPECT_EQ(p.Step(), 1.0);
    EXPECT_EQ(p.Shape(), 1.0);
    EXPECT_STREQ(p.Name(), "");
    EXPECT_TRUE(p.CanAutomate());
    EXPECT_FALSE(p.textParser);
}

TEST(IParamSpec, DisplayPrecisionFollowsTheStep)
{
    const struct
    {
        double step;
        int precision;
    } cases[] = {{1.0, 0}, {0.1, 1}, {0.01, 2}, {0.5, 1}, {0.25, 2}, {0.001, 3}, {1e-9, 6}, {2.0, 0}};
    for (const auto& c : cases)
    {
        IParamSpec p;
        p.DefineDouble("P", 100.0, 20.0, 20000.0, c.step);
        EXPECT_EQ(p.DisplayPrecision(), c.precision) << "step " << c.step;
    }
}

TEST(IParamSpec, DefineDoubleSetsFieldsAndRaisesMaxToMinPlusStep)
{
    IParamSpec p;
    p.DefineDouble("Half", 0.25, 0.0, 0.5, 1.0, "x");
    EXPECT_EQ(p.Kind(), ParamKind::Double);
    EXPECT_EQ(p.Max(), 1.0);
    EXPECT_EQ(p.Value(), 0.25);
    EXPECT_EQ(p.Default(), 0.25);
    EXPECT_STREQ(p.Label(), "x");
    EXPECT_STREQ(p.Group(), "");

    p.DefineDouble("Half", 0.25, 0.0, 0.5, 1.0, "x", 0.0);
    EXPECT_EQ(p.Shape(), 1.0) << "shape 0 keeps the previous shape";
    p.DefineDouble("Half", 0.25, 0.0, 0.5, 1.0, "x", 3.0);
    EXPECT_EQ(p.Shape(), 3.0);
}

TEST(IParamSpec, IntAndBoolKeepTheirKindAndBoolGetsOnOffTexts)
{
    IParamSpec i;
    i.DefineInt("Order_HP", 2, 0, 7, "");
    EXPECT_EQ(i.Kind(), ParamKind::Int);
    EXPECT_EQ(i.Step(), 1.0);
    EXPECT_EQ(i.Max(), 7.0);

    IParamSpec b;
    b.DefineBool("On_Lo", true);
    EXPECT_EQ(b.Kind(), ParamKind::Bool);
    EXPECT_EQ(b.Value(), 1.0);
    ASSERT_EQ(b.NDisplayTexts(), 2);
    EXPECT_EQ(b.DisplayText(0)->value, 0);
    EXPECT_STREQ(b.DisplayText(0)->text, "off");
    EXPECT_STREQ(b.DisplayText(1)->text, "on");
    EXPECT_EQ(b.DisplayText(2), nullptr);
}

TEST(IParamSpec, TextsLongerThanTheirFieldAreCut)
{
    IParamSpec p;
    const std::string longName(40, 'n');
    p.DefineDouble(longName.c_str(), 0, 0, 1, 1, longName.c_str());
    p.AddDisplayText(0, longName.c_str());
    EXPECT_EQ(std::string(p.Name()), std::string(31, 'n'));
    EXPECT_EQ(std::string(p.Label()), std::string(31, 'n'));
    EXPECT_EQ(std::string(p.DisplayText(0)->text), std::string(31, 'n'));
}

TEST(IParamSpec, LogarithmicMappingOnlyForPositiveRanges)
{
    EXPECT_NEAR(IParamSpec::MapFromNormalized(0.5, 20, 20000, 2), 632.4555, 1e-3);
    EXPECT_NEAR(IParamSpec::MapToNormalized(632.4555320336759, 20, 20000, 2), 0.5, 1e-12);
    EXPECT_DOUBLE_EQ(IParamSpec::MapFromNormalized(0.5, 20, 20000, 1), 10010.0);
    EXPECT_DOUBLE_EQ(IParamSpec::MapFromNormalized(0.5, 0, 100, 2), 50.0) << "min 0 falls back to linear";
    EXPECT_DOUBLE_EQ(IParamSpec::MapFromNormalized(0.5, -10, 10, 2), 0.0) << "negative min falls back to linear";
    EXPECT_DOUBLE_EQ(IParamSpec::MapToNormalized(150, 100, 200, 1), 0.5);
    EXPECT_DOUBLE_EQ(IParamSpec::MapToNormalized(300, 100, 200, 1), 2.0) << "no clamping";
}

TEST(IParamSpec, SetFromNormalizedRoundsCapsAndStaysFinite)
{
    IParamSpec freq;
    DefineFreq(freq);
    freq.SetFromNormalized(0.0);
    EXPECT_EQ(freq.Value(), 20.0);
    freq.SetFromNormalized(1.0);
    EXPECT_LE(freq.Value(), 20000.0);
    EXPECT_GT(freq.Value(), 19999.0);
    freq.SetFromNormalized(0.5);
    EXPECT_NEAR(freq.Value(), 632.4555, 1e-3) << "a Double is not rounded to its step";

    IParamSpec gain;
    gain.DefineDouble("Gain", 0, -24, 24, 0.1, "dB");
    gain.SetFromNormalized(-0.1);
    EXPECT_LT(gain.Value(), -24.0) << "values below min are not raised";
    gain.SetFromNormalized(1.5);
    EXPECT_EQ(gain.Value(), 24.0);
    gain.SetFromNormalized(kNaN);
    EXPECT_EQ(gain.Value(), -24.0);
    gain.SetFromNormalized(-kInf);
    EXPECT_EQ(gain.Value(), -24.0);
    gain.SetFromNormalized(-1e308);
    EXPECT_TRUE(std::isfinite(gain.Value()));

    IParamSpec order;
    order.DefineInt("Order", 0, 0, 7);
    order.SetFromNormalized(0.5);
    EXPECT_EQ(order.Value(), 4.0);
    order.SetFromNormalized(0.3);
    EXPECT_EQ(order.Value(), 2.0);

    IParamSpec on;
    on.DefineBool("On", false);
    on.SetFromNormalized(0.49);
    EXPECT_EQ(on.Value(), 0.0);
    on.SetFromNormalized(0.5);
    EXPECT_EQ(on.Value(), 1.0);
}

TEST(IParamSpec, SetPlainAndNormalizedOfClamp)
{
    IParamSpec p;
    p.DefineInt("Order", 3, 0, 7);
    p.SetPlain(-5.0);
    EXPECT_EQ(p.Value(), 0.0);
    p.SetPlain(3.3);
    EXPECT_EQ(p.Value(), 3.3) << "no rounding to the step";
    p.SetPlain(kInf);
    EXPECT_EQ(p.Value(), 7.0);
    p.SetPlain(kNaN);
    EXPECT_EQ(p.Value(), 0.0);
    EXPECT_EQ(p.NormalizedOf(100.0), 1.0);
    EXPECT_EQ(p.NormalizedOf(kNaN), 0.0);

    IParamSpec freq;
    DefineFreq(freq);
    EXPECT_EQ(freq.NormalizedOf(0.0), 0.0) << "clamped before the logarithm";
    EXPECT_NEAR(freq.NormalizedValue(), std::log(50.0) / std::log(1000.0), 1e-12);
}

TEST(IParamSpec, FormatValue)
{
    IParamSpec freq;
    DefineFreq(freq);
    IParamSpec q;
    q.DefineDouble("Q_Lo", 0.707, 0.3, 12.0, 0.01, "", 2.0);
    IParamSpec on;
    on.DefineBool("On", true);
    IParamSpec gain;
    gain.DefineDouble("Gain", 0, -24, 24, 0.1, "dB");

    EXPECT_EQ(freq.FormatValue(999.6, false, true), "1000") << "half a step rounds wide ranges to nearest";
    EXPECT_EQ(freq.FormatValue(999.4, false, true), "999");
    EXPECT_EQ(freq.FormatValue(0.5, true, false), "632");
    EXPECT_EQ(q.FormatValue(0.707, false, true), "0.71");
    EXPECT_EQ(gain.FormatValue(-3.25, false, true), "-3.2");
    EXPECT_EQ(gain.FormatValue(-0.99, false, true), "-1.0");
    EXPECT_EQ(on.FormatValue(1.0, false, true), "on");
    EXPECT_EQ(on.FormatValue(1.0, false, false), "1");
    EXPECT_EQ(on.FormatValue(0.0, true, true), "off");
    EXPECT_EQ(on.FormatCurrentValue(), "on");
    EXPECT_EQ(freq.FormatValue(kNaN, false, false), "0") << "no undefined integer conversion";
    EXPECT_EQ(freq.FormatValue(1e300, false, false), "2147483647");
    EXPECT_GT(q.FormatValue(1e300, false, false).size(), 300u) << "long numbers are not cut off";
}

TEST(IParamSpec, DisplayTextsReplaceTheNumberAndTheLabel)
{
    IParamSpec p;
    p.DefineInt("Order", 3, 0, 7, "dB/oct");
    p.AddDisplayText(3, "Off");
    p.AddDisplayText(3, "shadowed");
    p.AddDisplayText(5, "");
    EXPECT_EQ(p.FormatValue(3.9, false, true), "Off") << "value truncated toward zero";
    EXPECT_EQ(p.FormatValue(5, false, true), "5") << "an empty text shows the number";
    EXPECT_STREQ(p.LabelForHost(), "");
    p.SetPlain(5);
    EXPECT_STREQ(p.LabelForHost(), "dB/oct");

    IParamSpec on;
    on.DefineBool("On", false);
    EXPECT_STREQ(on.LabelForHost(), "");
}

TEST(IParamSpec, ParseValueTextReadsLikeAtofAndClamps)
{
    IParamSpec gain;
    gain.DefineDouble("Gain", 0, -24, 24, 0.1, "dB");
    IParamSpec freq;
    DefineFreq(freq);
    IParamSpec on;
    on.DefineBool("On", true);

    const struct
    {
        const IParamSpec* param;
        const char* text;
        double expected;
    } cases[] = {
        {&gain, "12.5 dB", gain.NormalizedOf(12.5)},
        {&gain, "  -6", gain.NormalizedOf(-6)},
        {&gain, "abc", 0.5},
        {&gain, "", 0.5},
        {&gain, nullptr, 0.5},
        {&gain, "1e999", 1.0},
        {&gain, "nan", 0.0},
        {&freq, "abc", 0.0},
        {&freq, "1000Hz", freq.NormalizedOf(1000)},
        {&on, "on", 0.0},
        {&on, "1", 1.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.param->ParseValueText(c.text), c.expected) << (c.text ? c.text : "(null)");
}

TEST(IParamSpec, ParseEditorText)
{
    IParamSpec on;
    on.DefineBool("On", false);
    EXPECT_EQ(on.ParseEditorText("on"), 1.0);
    EXPECT_EQ(on.ParseEditorText("off"), 0.0);
    EXPECT_EQ(on.ParseEditorText("ON"), 0.0) << "exact comparison";
    EXPECT_EQ(on.ParseEditorText("1"), 0.0);
    EXPECT_EQ(on.ParseEditorText(nullptr), 0.0);

    IParamSpec freq;
    DefineFreq(freq);
    EXPECT_EQ(freq.ParseEditorText("440 Hz"), 440.0);
    EXPECT_EQ(freq.ParseEditorText("50000"), 50000.0) << "plain value, not clamped";
    freq.textParser = [](const char* text) { return text[0] == 'k' ? 1000.0 : -1.0; };
    EXPECT_EQ(freq.ParseEditorText("k"), 1000.0);
    EXPECT_EQ(freq.ParseEditorText("440"), -1.0);
}
