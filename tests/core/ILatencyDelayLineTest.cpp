// SPDX-License-Identifier: GPL-3.0-or-later
#include "ILatencyDelayLine.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ILatencyDelayLine, DelaysEachInputAcrossBlocksAndZeroesExtraOutputs)
{
    ILatencyDelayLine line(2, 3);
    ASSERT_TRUE(line.SetDelay(3));
    std::vector<double> a = {1, 2, 3, 4}, b = {10, 20, 30, 40}, extra(4, 9.0);
    double* in[] = {a.data(), b.data()};
    double* out[] = {a.data(), b.data(), extra.data()}; // in place
    line.ProcessBlock(in, out, 4);
    EXPECT_EQ(a, (std::vector<double>{0, 0, 0, 1}));
    EXPECT_EQ(b, (std::vector<double>{0, 0, 0, 10}));
    EXPECT_EQ(extra, (std::vector<double>(4, 0.0)));

    a = {5, 6, 7, 8};
    b = {50, 60, 70, 80};
    line.ProcessBlock(in, out, 4);
    EXPECT_EQ(a, (std::vector<double>{2, 3, 4, 5}));
    EXPECT_EQ(b, (std::vector<double>{20, 30, 40, 50}));

    ASSERT_TRUE(line.SetDelay(0));
    a = {1, 2, 3, 4};
    line.ProcessBlock(in, out, 4);
    EXPECT_EQ(a, (std::vector<double>{1, 2, 3, 4})) << "delay 0 copies";
}

TEST(ILatencyDelayLine, SetDelayClearsTheHistoryAndNullChannelsAreSafe)
{
    ILatencyDelayLine line(1, 1);
    line.SetDelay(2);
    std::vector<double> x = {1, 2}, y(2);
    double* in[] = {x.data()};
    double* out[] = {y.data()};
    line.ProcessBlock(in, out, 2);
    line.SetDelay(2);
    line.ProcessBlock(in, out, 2);
    EXPECT_EQ(y, (std::vector<double>{0, 0}));

    double* none[] = {nullptr};
    line.ProcessBlock(none, out, 2);
    EXPECT_EQ(y, (std::vector<double>{1, 2}));
    line.ProcessBlock(in, none, 2);
    line.SetDelay(-5);
    EXPECT_EQ(line.Delay(), 0);
}
