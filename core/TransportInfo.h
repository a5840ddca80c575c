// SPDX-License-Identifier: GPL-3.0-or-later
// The host's transport as the bindings report it; positions in quarter notes except samplePos.
#pragma once

struct TransportInfo
{
    double tempo = 120.0;
    double samplePos = 0.0;
    double ppqPos = 0.0;
    double lastBar = 0.0;
    double cycleStart = 0.0;
    double cycleEnd = 0.0;
    int numerator = 4;
    int denominator = 4;
    bool transportRunning = false;
    bool loopActive = false;
};
