// SPDX-License-Identifier: GPL-3.0-or-later
// The cascade kernel, written once over a vector type `Ops` (SimdSse2.cpp, SimdAvx2.cpp).
// Audio thread: allocation-free and lock-free.
//
// Schedule. Per sample a section's own recursion (s1, s2) is five operations long, but its
// output reaches the next section only after nine, so running the sections one after the other
// waits on that chain every sample. Here every lane is one section of one channel (lane =
// section * C + channel) and at step t section s works on sample t - D*s. Section s then takes as
// input what section s - 1 put out D steps earlier: the output vectors of step t - D shifted up
// by one section (C lanes), the new input sample entering section 0. Within a step no lane
// depends on another, so the sections of both channels run side by side in NV vectors, and the
// nine-operation chain has D steps to complete. A block of n samples takes n + D*(S - 1) steps:
// the first and last D*(S - 1) fill and drain the pipeline; in those a vector whose sections are
// all outside their samples (t - D*s not in 0 ... n - 1) is skipped, and in one that is partly
// outside, those lanes keep their state. Per lane and sample the operations are those of
// ProcessSection, in the same order, so the samples are the same bit for bit.
#pragma once

#include "CascadeLanes.h"
#include "KernelSupport.h"

// A compile-time flag for the step below.
template <bool B>
struct Edge
{
    static constexpr bool value = B;
};

template <class Ops, int C, int NV, int D>
void RunCascadeSteps(CascadeLanes& lanes, float* buf0, float* buf1, int n)
{
    using V = typename Ops::V;
    using I = typename Ops::I;
    constexpr int W = Ops::kWidth;
    constexpr int P = W / C; // sections per vector
    const int last = lanes.sections - 1;
    const int span = D * last;                          // steps from section 0 to the last
    const int outLane = last * C - (NV - 1) * W;        // the last section's first lane
    const I count = Ops::SplatInt(n);

    // Coefficients in locals: the stores to the buffers cannot alias them.
    V k[NV], a2[NV], cA[NV], cAPrev[NV], cB[NV], fir0[NV], fir1[NV], fir2[NV];
    V s1[NV], s2[NV], h1[NV], h2[NV];
    V history[D][NV];   // outputs of steps t - D ... t - 1
    I sampleOffset[NV]; // -D * section, per lane
    int firstStart[NV], lastStart[NV]; // steps at which the vector's first and last section start
    PARVEL_UNROLL
    for (int v = 0; v < NV; ++v)
    {
        const int at = v * W;
        k[v] = Ops::Load(lanes.k + at);
        a2[v] = Ops::Load(lanes.a2 + at);
        cA[v] = Ops::Load(lanes.cA + at);
        cAPrev[v] = Ops::Load(lanes.cAPrev + at);
        cB[v] = Ops::Load(lanes.cB + at);
        fir0[v] = Ops::Load(lanes.fir0 + at);
        fir1[v] = Ops::Load(lanes.fir1 + at);
        fir2[v] = Ops::Load(lanes.fir2 + at);
        s1[v] = Ops::Load(lanes.s1 + at);
        s2[v] = Ops::Load(lanes.s2 + at);
        h1[v] = Ops::Load(lanes.h1 + at);
        h2[v] = Ops::Load(lanes.h2 + at);
        PARVEL_UNROLL
        for (int d = 0; d < D; ++d)
            history[d][v] = Ops::Zero();
        int offsets[W];
        PARVEL_UNROLL
        for (int j = 0; j < W; ++j)
            offsets[j] = -D * ((at + j) / C);
        sampleOffset[v] = Ops::LoadInt(offsets);
        firstStart[v] = D * (v * P);
        lastStart[v] = D * (v * P + P - 1 < last ? v * P + P - 1 : last); // lanes past the last section do not count
    }

    const auto step = [&](int t, auto edge) PARVEL_INLINE {
        V prev = !edge.value || t < n ? Ops::template Input<C>(buf0, buf1, t) : Ops::Zero();
        V out[NV];
        PARVEL_UNROLL
        for (int v = 0; v < NV; ++v)
        {
            const V x = Ops::template ShiftSection<C>(prev, history[0][v]);
            prev = history[0][v];
            bool partial = false;
            if constexpr (edge.value)
            {
                if (t < firstStart[v] || t >= n + lastStart[v])
                {
                    out[v] = history[D - 1][v]; // no lane works: nothing reads it
                    continue;
                }
                partial = t < lastStart[v] || t >= n + firstStart[v];
            }
            const V a = (x - s2[v]) * k[v] + s1[v] * a2[v];
            const V b = k[v] * a + s2[v];
            const V h = (s1[v] * cAPrev[v] + a * cA[v]) + s2[v] * cB[v];
            out[v] = (fir1[v] * h1[v] + h * fir0[v]) + fir2[v] * h2[v];
            if (partial)
            {
                const V live = Ops::InRange(Ops::AddInt(Ops::SplatInt(t), sampleOffset[v]), count);
                s1[v] = Ops::Select(live, a, s1[v]);
                s2[v] = Ops::Select(live, b, s2[v]);
                h2[v] = Ops::Select(live, h1[v], h2[v]);
                h1[v] = Ops::Select(live, h, h1[v]);
            }
            else
            {
                s1[v] = a;
                s2[v] = b;
                h2[v] = h1[v];
                h1[v] = h;
            }
        }
        PARVEL_UNROLL
        for (int d = 0; d + 1 < D; ++d)
        {
            PARVEL_UNROLL
            for (int v = 0; v < NV; ++v)
                history[d][v] = history[d + 1][v];
        }
        PARVEL_UNROLL
        for (int v = 0; v < NV; ++v)
            history[D - 1][v] = out[v];

        // The last section finished sample t - span.
        const int o = t - span;
        if (!edge.value || o >= 0)
        {
            float lastOut[W];
            Ops::Store(lastOut, out[NV - 1]);
            buf0[o] = lastOut[outLane];
            if constexpr (C == 2)
                buf1[o] = lastOut[outLane + 1];
        }
    };

    int t = 0;
    for (; t < span; ++t)
        step(t, Edge<true>());
    for (; t < n; ++t)
        step(t, Edge<false>());
    for (; t < n + span; ++t)
        step(t, Edge<true>());

    PARVEL_UNROLL
    for (int v = 0; v < NV; ++v)
    {
        Ops::Store(lanes.s1 + v * W, s1[v]);
        Ops::Store(lanes.s2 + v * W, s2[v]);
        Ops::Store(lanes.h1 + v * W, h1[v]);
        Ops::Store(lanes.h2 + v * W, h2[v]);
    }
}

// Runs lanes.sections sections over n samples of lanes.channels channels, in place; picks the
// number of vectors the sections fill.
template <class Ops, int C, int NV, int D>
void RunCascadeVectors(CascadeLanes& lanes, float* buf0, float* buf1, int n, int vectors)
{
    if constexpr (NV > 1)
    {
        if (vectors < NV)
        {
            RunCascadeVectors<Ops, C, NV - 1, D>(lanes, buf0, buf1, n, vectors);
            return;
        }
    }
    RunCascadeSteps<Ops, C, NV, D>(lanes, buf0, buf1, n);
}

template <class Ops, int D>
void RunCascade(CascadeLanes& lanes, float* buf0, float* buf1, int n)
{
    constexpr int W = Ops::kWidth;
    if (lanes.sections <= 0 || n <= 0)
        return;
    const int vectors = (lanes.sections * lanes.channels + W - 1) / W;
    if (lanes.channels == 2)
        RunCascadeVectors<Ops, 2, CascadeLanes::kMaxLanes / W, D>(lanes, buf0, buf1, n, vectors);
    else
        RunCascadeVectors<Ops, 1, (CascadeLanes::kMaxSections + W - 1) / W, D>(lanes, buf0, buf1, n, vectors);
}
