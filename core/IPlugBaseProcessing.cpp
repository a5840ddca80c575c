// SPDX-License-Identifier: GPL-3.0-or-later
// The processing adapter: host float or double buffers onto the data pointer arrays that
// RenderBlock works on. Runs on the audio thread with the plug-in lock held; allocates nothing.
//
// Oversized blocks: the scratch holds one prepared block, so a host block longer than that is
// rendered in pieces of at most the block size. For each piece a data pointer that stands on
// the channel's own scratch (or is null) stays there, float inputs are converted piece by
// piece into the scratch, and any other data pointer is a host buffer of the whole block and
// advances by the piece's offset.
#include "IPlugBase.h"

#include <algorithm>
#include <cstring>

namespace
{
// Calls fn (channel, host buffer) for each connected channel from first, visiting at most count
// channels while channels remain: only a connected channel consumes a host buffer.
template <typename Channel, typename Buffer, typename Fn>
void ForEachConnected(std::vector<std::unique_ptr<Channel>>& channels, int first, int count,
                      Buffer* const* buffers, Fn fn)
{
    if (first < 0)
        first = 0;
    int next = 0;
    for (int c = first, visited = 0; c < (int) channels.size() && visited < count; ++c, ++visited)
    {
        Channel& channel = *channels[(size_t) c];
        if (!channel.connected)
            continue;
        fn(channel, buffers ? buffers[next] : nullptr);
        ++next;
    }
}
} // namespace

void IPlugBase::ConnectInputs(int first, int count, const float* const* buffers, int nFrames)
{
    if (nFrames < 0)
        nFrames = 0;
    const int ready = nFrames < mBlockSize ? nFrames : mBlockSize;
    ForEachConnected(mInChannels, first, count, buffers, [&](InputChannel& channel, const float* src) {
        channel.floatSource = src;
        channel.floatFrames = src ? nFrames : 0;
        channel.doubleSource = nullptr;
        double* scratch = channel.scratch.data();
        for (int i = 0; i < ready; ++i)
            scratch[i] = src ? (double) src[i] : 0.0;
        *channel.source = scratch;
    });
}

void IPlugBase::ConnectInputs(int first, int count, double* const* buffers)
{
    ForEachConnected(mInChannels, first, count, buffers, [](InputChannel& channel, double* src) {
        channel.floatSource = nullptr;
        channel.floatFrames = 0;
        channel.doubleSource = src;
        if (!src)
            std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
        *channel.source = src ? src : channel.scratch.data();
    });
}

void IPlugBase::ConnectOutputs(int first, int count, float* const* buffers)
{
    ForEachConnected(mOutChannels, first, count, buffers, [](OutputChannel& channel, float* dst) {
        channel.floatDest = dst;
        channel.doubleDest = nullptr;
        *channel.dest = channel.scratch.data();
    });
}

void IPlugBase::ConnectOutputs(int first, int count, double* const* buffers)
{
    ForEachConnected(mOutChannels, first, count, buffers, [](OutputChannel& channel, double* dst) {
        channel.floatDest = nullptr;
        channel.doubleDest = dst;
        *channel.dest = dst ? dst : channel.scratch.data();
    });
}

void IPlugBase::ProcessFloatBlock(int nFrames)
{
    ProcessPieces(nFrames, PieceMode::Render, FloatOut::Replace);
}

void IPlugBase::ProcessFloatBlockAdding(int nFrames)
{
    ProcessPieces(nFrames, PieceMode::Render, FloatOut::Add);
}

void IPlugBase::BypassFloatBlock(int nFrames)
{
    ProcessPieces(nFrames, PieceMode::Bypass, FloatOut::Replace);
}

void IPlugBase::ProcessDoubleBlock(int nFrames)
{
    ProcessPieces(nFrames, PieceMode::Render, FloatOut::None);
}

void IPlugBase::BypassDoubleBlock(int nFrames)
{
    ProcessPieces(nFrames, PieceMode::Bypass, FloatOut::None);
}

void IPlugBase::ClearScratch()
{
    for (auto& channel : mInChannels)
        std::fill(channel->scratch.begin(), channel->scratch.end(), 0.0);
    for (auto& channel : mOutChannels)
        std::fill(channel->scratch.begin(), channel->scratch.end(), 0.0);
}

void IPlugBase::ProcessPieces(int nFrames, PieceMode mode, FloatOut floatOut)
{
    if (nFrames > 0 && mBlockSize <= 0)
        SilenceOutputs(nFrames, floatOut);
    if (nFrames <= 0 || mBlockSize <= 0)
    {
        ForgetHostBuffers();
        return;
    }
    CaptureBases();
    double** inputs = mInData.data();
    double** outputs = mOutData.data();
    for (int offset = 0; offset < nFrames;)
    {
        const int n = (nFrames - offset) < mBlockSize ? (nFrames - offset) : mBlockSize;
        ConnectPiece(offset, n);
        if (mode == PieceMode::Render)
            RenderBlock(inputs, outputs, n);
        else if (mLatency > 0 && mDelayLine)
            mDelayLine->ProcessBlock(inputs, outputs, n);
        else
            IPlugBase::RenderBlock(inputs, outputs, n);
        if (floatOut != FloatOut::None)
            WriteFloatOutputs(offset, n, floatOut);
        offset += n;
    }
    ForgetHostBuffers();
}

void IPlugBase::CaptureBases()
{
    for (size_t c = 0; c < mInChannels.size(); ++c)
    {
        const InputChannel& channel = *mInChannels[c];
        mInBase[c] = channel.doubleSource ? channel.doubleSource : *channel.source;
    }
    for (size_t c = 0; c < mOutChannels.size(); ++c)
    {
        const OutputChannel& channel = *mOutChannels[c];
        mOutBase[c] = channel.doubleDest ? channel.doubleDest : *channel.dest;
    }
}

void IPlugBase::ConnectPiece(int offset, int nFrames)
{
    for (size_t c = 0; c < mInChannels.size(); ++c)
    {
        InputChannel& channel = *mInChannels[c];
        double* scratch = channel.scratch.data();
        if (channel.connected && channel.floatSource)
        {
            // ConnectInputs already converted the first piece.
            if (offset > 0 || nFrames > channel.floatFrames)
            {
                for (int i = 0; i < nFrames; ++i)
                {
                    const int idx = offset + i;
                    scratch[i] = idx < channel.floatFrames ? (double) channel.floatSource[idx] : 0.0;
                }
            }
            mInData[c] = scratch;
            continue;
        }
        double* base = mInBase[c];
        mInData[c] = (!base || base == scratch) ? base : base + offset;
    }
    for (size_t c = 0; c < mOutChannels.size(); ++c)
    {
        double* scratch = mOutChannels[c]->scratch.data();
        double* base = mOutBase[c];
        mOutData[c] = (!base || base == scratch) ? base : base + offset;
    }
}

void IPlugBase::WriteFloatOutputs(int offset, int nFrames, FloatOut floatOut)
{
    for (size_t c = 0; c < mOutChannels.size(); ++c)
    {
        const OutputChannel& channel = *mOutChannels[c];
        const double* src = mOutData[c];
        if (!channel.connected || !channel.floatDest || !src)
            continue;
        float* dst = channel.floatDest + offset;
        if (floatOut == FloatOut::Add)
            for (int i = 0; i < nFrames; ++i)
                dst[i] += (float) src[i];
        else
            for (int i = 0; i < nFrames; ++i)
                dst[i] = (float) src[i];
    }
}

void IPlugBase::SilenceOutputs(int nFrames, FloatOut floatOut)
{
    for (auto& channel : mOutChannels)
    {
        if (!channel->connected)
            continue;
        if (channel->floatDest && floatOut == FloatOut::Replace)
            std::memset(channel->floatDest, 0, (size_t) nFrames * sizeof(float));
        double* base = channel->doubleDest ? channel->doubleDest : *channel->dest;
        if (base && base != channel->scratch.data() && floatOut == FloatOut::None)
            std::memset(base, 0, (size_t) nFrames * sizeof(double));
    }
}

void IPlugBase::ForgetHostBuffers()
{
    for (auto& channel : mInChannels)
    {
        channel->floatSource = nullptr;
        channel->floatFrames = 0;
        channel->doubleSource = nullptr;
    }
    for (auto& channel : mOutChannels)
    {
        channel->floatDest = nullptr;
        channel->doubleDest = nullptr;
    }
    PointChannelsAtScratch();
}

void IPlugBase::PointChannelsAtScratch()
{
    for (size_t c = 0; c < mInChannels.size(); ++c)
        mInData[c] = mInChannels[c]->scratch.data();
    for (size_t c = 0; c < mOutChannels.size(); ++c)
        mOutData[c] = mOutChannels[c]->scratch.data();
}
