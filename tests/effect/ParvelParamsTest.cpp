// SPDX-License-Identifier: GPL-3.0-or-later
#include "EffectDefaults.h"
#include "Parvel.h"
#include "ParvelParams.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{
struct ExpectedParam
{
    const char* name;
    ParamKind kind;
    double min, max, step;
    const char* label;
    double shape;
    int precision;
    double factoryDefault;
};

// The parameter set as hosts see it, written out independently of the table.
const ExpectedParam kExpected[kNumParvelParams] = {
    {"Band_Low", ParamKind::Bool, 0, 1, 1, "", 1, 0, 0},
    {"Freq_Low", ParamKind::Double, 20, 20000, 1, "Hz", 2, 0, 100},
    {"Q_Low", ParamKind::Double, 0.3, 12, 0.01, "", 2, 2, 0.707},
    {"Gain_Low", ParamKind::Double, -24, 24, 0.1, "dB", 1, 1, 0},
    {"Band_LoMid", ParamKind::Bool, 0, 1, 1, "", 1, 0, 0},
    {"Freq_LoMid", ParamKind::Double, 20, 20000, 1, "Hz", 2, 0, 750},
    {"Q_LoMid", ParamKind::Double, 0.3, 12, 0.01, "", 2, 2, 0.707},
    {"Gain_LoMid", ParamKind::Double, -24, 24, 0.1, "dB", 1, 1, 0},
    {"Band_HiMid", ParamKind::Bool, 0, 1, 1, "", 1, 0, 0},
    {"Freq_HiMid", ParamKind::Double, 20, 20000, 1, "Hz", 2, 0, 3000},
    {"Q_HiMid", ParamKind::Double, 0.3, 12, 0.01, "", 2, 2, 0.707},
    {"Gain_HiMid", ParamKind::Double, -24, 24, 0.1, "dB", 1, 1, 0},
    {"Band_High", ParamKind::Bool, 0, 1, 1, "", 1, 0, 0},
    {"Freq_High", ParamKind::Double, 20, 20000, 1, "Hz", 2, 0, 10000},
    {"Q_High", ParamKind::Double, 0.3, 12, 0.01, "", 2, 2, 0.707},
    {"Gain_High", ParamKind::Double, -24, 24, 0.1, "dB", 1, 1, 0},
    {"LoShelf", ParamKind::Bool, 0, 1, 1, "", 1, 0, 0},
    {"HiShelf", ParamKind::Bool, 0, 1, 1, "", 1, 0, 0},
    {"Band_HP", ParamKind::Bool, 0, 1, 1, "", 1, 0, 0},
    {"Freq_HP", ParamKind::Double, 20, 20000, 1, "Hz", 2, 0, 20},
    {"Order_HP", ParamKind::Int, 0, 7, 1, "dB/Oct", 1, 0, 0},
    {"Band_LP", ParamKind::Bool, 0, 1, 1, "", 1, 0, 0},
    {"Freq_LP", ParamKind::Double, 20, 20000, 1, "Hz", 2, 0, 20000},
    {"Order_LP", ParamKind::Int, 0, 7, 1, "dB/Oct", 1, 0, 0},
    {"Gain", ParamKind::Double, -24, 24, 0.1, "dB", 1, 1, 0},
};

class ParvelParamsTest : public ::testing::Test
{
protected:
    TempHome home;
};
} // namespace

TEST_F(ParvelParamsTest, FreshInstanceDefinesEveryRecordWithItsFinalShapeAndFactoryDefault)
{
    Parvel fx;
    ASSERT_EQ(fx.ParamCount(), kNumParvelParams);
    for (int i = 0; i < kNumParvelParams; ++i)
    {
        const ExpectedParam& e = kExpected[i];
        const IParamSpec* p = fx.Param(i);
        SCOPED_TRACE(std::string("parameter ") + e.name);
        EXPECT_STREQ(p->Name(), e.name);
        EXPECT_EQ(p->Kind(), e.kind);
        EXPECT_EQ(p->Min(), e.min);
        EXPECT_EQ(p->Max(), e.max);
        EXPECT_EQ(p->Step(), e.step);
        EXPECT_STREQ(p->Label(), e.label);
        EXPECT_EQ(p->Shape(), e.shape);
        EXPECT_EQ(p->DisplayPrecision(), e.precision);
        EXPECT_EQ(p->Default(), e.factoryDefault);
        EXPECT_EQ(p->Value(), e.factoryDefault);
        EXPECT_TRUE(p->CanAutomate());
        EXPECT_STREQ(p->Group(), "");
        if (e.kind == ParamKind::Bool)
        {
            EXPECT_EQ(p->FormatValue(0, false, true), "off");
            EXPECT_EQ(p->FormatValue(1, false, true), "on");
            EXPECT_STREQ(p->LabelForHost(), "");
        }
        EXPECT_EQ(FindParvelParam(e.name), i);
    }
}

TEST_F(ParvelParamsTest, MappingsActAsHostsSeeThem)
{
    Parvel fx;
    IParamSpec* freq = fx.Param(kFreq_LoMid);
    freq->SetFromNormalized(0.5);
    EXPECT_NEAR(freq->Value(), 632.456, 0.001);
    EXPECT_EQ(freq->FormatCurrentValue(), "632");

    IParamSpec* q = fx.Param(kQ_High);
    q->SetFromNormalized(0.5);
    EXPECT_NEAR(q->Value(), 1.897, 0.001);
    EXPECT_EQ(fx.Param(kQ_Low)->FormatCurrentValue(), "0.71");

    IParamSpec* order = fx.Param(kOrder_HP);
    order->SetFromNormalized(0.5);
    EXPECT_EQ(order->Value(), 4.0) << "Order_HP from 0.5 is 30 dB/Oct";
}

TEST(ParvelParamTable, LooksUpNamesExactly)
{
    EXPECT_EQ(FindParvelParam("Freq_Low"), kFreq_Low);
    EXPECT_EQ(FindParvelParam("Gain"), kGain);
    EXPECT_EQ(FindParvelParam("Freq_Lo"), -1);
    EXPECT_EQ(FindParvelParam("freq_low"), -1);
    EXPECT_EQ(FindParvelParam(""), -1);
    EXPECT_EQ(FindParvelParam(nullptr), -1);
}

TEST(ParvelParamTable, DefaultsFromOutsideTheRangeBecomeLegalValues)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const struct
    {
        int idx;
        double value;
        double expected;
    } cases[] = {
        {kFreq_Low, 250.0, 250.0},  {kFreq_Low, 5.0, 20.0},    {kFreq_Low, 1e9, 20000.0},
        {kFreq_Low, kNaN, 100.0},   {kQ_HiMid, 0.0, 0.3},      {kGain_High, -kInf, 0.0},
        {kGain_High, 30.0, 24.0},   {kOrder_LP, 12.0, 7.0},    {kFreq_LP, kInf, 20000.0},
    };
    for (const auto& c : cases)
    {
        EffectDefaults d;
        const ParvelParamInfo& info = ParvelParamAt(c.idx);
        switch (info.source)
        {
        case DefaultSource::Freq: d.freq[(size_t) info.slot] = c.value; break;
        case DefaultSource::Q: d.q[(size_t) info.slot] = c.value; break;
        case DefaultSource::Gain: d.gain[(size_t) info.slot] = c.value; break;
        case DefaultSource::CutFreq: d.cutFreq[(size_t) info.slot] = c.value; break;
        case DefaultSource::CutOrder: d.cutOrder[(size_t) info.slot] = (int32_t) c.value; break;
        default: FAIL() << "case table uses an unexpected source";
        }
        EXPECT_EQ(ParvelParamDefault(info, d), c.expected) << info.name << " from " << c.value;
    }
}
