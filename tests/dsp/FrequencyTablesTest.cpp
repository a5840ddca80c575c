// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrequencyTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

TEST(FrequencyTables, LogFrequenciesRunFromMinToMax)
{
    std::vector<float> f(181);
    FillLogFrequencies(f.data(), 20.0f, 20000.0f, 181);
    EXPECT_EQ(f.front(), 20.0f);
    EXPECT_NEAR(f.back(), 20000.0f, 0.02f);
    EXPECT_NEAR(f[90], std::sqrt(20.0f * 20000.0f), 0.01f);
    for (size_t i = 1; i < f.size(); ++i)
        ASSERT_NEAR(f[i] / f[i - 1], std::pow(1000.0, 1.0 / 180.0), 1e-5) << "entry " << i;
}

TEST(FrequencyTables, SingleEntryIsFminNotNaN)
{
    float f = -1.0f;
    FillLogFrequencies(&f, 30.0f, 3000.0f, 1);
    EXPECT_EQ(f, 30.0f);
}

TEST(FrequencyTables, PhiIsSineSquaredOfHalfTheNormalisedFrequency)
{
    const float freqs[] = { 0.0f, 8000.0f, 12000.0f, 16000.0f, 24000.0f };
    const float expected[] = { 0.0f, 0.25f, 0.5f, 0.75f, 1.0f };
    float phi[5];
    FillPhi(phi, freqs, 48000.0, 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(phi[i], expected[i], 1e-6f) << "at " << freqs[i] << " Hz";
}
