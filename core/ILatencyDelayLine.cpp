// SPDX-License-Identifier: GPL-3.0-or-later
#include "ILatencyDelayLine.h"

#include <cstddef>
#include <new>

ILatencyDelayLine::ILatencyDelayLine(int nInputs, int nOutputs)
    : mNInputs(nInputs < 0 ? 0 : nInputs), mNOutputs(nOutputs < 0 ? 0 : nOutputs)
{
}

bool ILatencyDelayLine::SetDelay(int delaySamples)
{
    if (delaySamples < 0)
        delaySamples = 0;
    mWritePos = 0;
    try
    {
        mBuffer.assign((size_t) delaySamples * (size_t) mNInputs, 0.0);
    }
    catch (const std::exception&)
    {
        mBuffer.clear();
        mDelay = 0;
        return false;
    }
    mDelay = delaySamples;
    return true;
}

// y_c[n] = x_c[n - delay]: each frame reads the oldest sample of the ring before the new
// input replaces it, so inputs and outputs may be the same arrays.
void ILatencyDelayLine::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
    if (!outputs || nFrames <= 0)
        return;
    for (int c = mNInputs; c < mNOutputs; ++c)
    {
        if (outputs[c])
            for (int i = 0; i < nFrames; ++i)
                outputs[c][i] = 0.0;
    }
    const int nChannels = mNInputs < mNOutputs ? mNInputs : mNOutputs;
    for (int i = 0; i < nFrames; ++i)
    {
        for (int c = 0; c < mNInputs; ++c)
        {
            const double x = (inputs && inputs[c]) ? inputs[c][i] : 0.0;
            double y = x;
            if (mDelay > 0)
            {
                double& slot = mBuffer[(size_t) mWritePos * (size_t) mNInputs + (size_t) c];
                y = slot;
                slot = x;
            }
            if (c < nChannels && outputs[c])
                outputs[c][i] = y;
        }
        if (mDelay > 0 && ++mWritePos == mDelay)
            mWritePos = 0;
    }
}
