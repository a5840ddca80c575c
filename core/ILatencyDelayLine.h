// SPDX-License-Identifier: GPL-3.0-or-later
// Delays every input channel by the plug-in's latency so that a bypassed plug-in stays
// time-aligned with its processed sound. Output channels without an input of the same index
// get zeros. SetDelay allocates and is called outside processing; ProcessBlock does not.
#pragma once

#include <vector>

class ILatencyDelayLine
{
public:
    ILatencyDelayLine(int nInputs, int nOutputs);

    // Buffer of delay * inputs doubles, zeroed, write position 0. Negative counts as 0.
    // Returns false (and leaves a delay of 0) when the buffer cannot be allocated.
    bool SetDelay(int delaySamples);
    int Delay() const { return mDelay; }

    // In place is fine (inputs[c] == outputs[c]); null channel pointers read as silence and
    // are not written.
    void ProcessBlock(double** inputs, double** outputs, int nFrames);

private:
    int mNInputs;
    int mNOutputs;
    int mDelay = 0;
    int mWritePos = 0;
    std::vector<double> mBuffer; // frame-interleaved: mBuffer[pos * mNInputs + channel]
};
