// SPDX-License-Identifier: GPL-3.0-or-later
// The analyser kernel, written once over a vector type `Ops` (SimdSse2.cpp, SimdAvx2.cpp).
// Audio thread: allocation-free and lock-free.
//
// The bands are independent, so each lane is a band and NV vectors of bands run side by side:
// while one vector waits on its recursion the others fill the processor. A chunk of samples goes
// through one stage at a time (its states stay in registers, its output in a small work buffer)
// and then through the envelope. Per lane the operations are those of the plain loops in
// AnalyserBank.cpp, in the same order.
#pragma once

#include "AnalyserBank.h"
#include "KernelSupport.h"

template <class Ops, int NV>
void RunAnalyserVectors(AnalyserBank& bank, int firstLane, const float* input, int count)
{
    using V = typename Ops::V;
    constexpr int W = Ops::kWidth;
    constexpr int S = kAnalyserStages;
    constexpr int kChunk = 32;
    float work[kChunk * NV * W]; // a chunk of one stage's output, sample by sample

    for (int done = 0; done < count; done += kChunk)
    {
        const int m = count - done < kChunk ? count - done : kChunk;
        PARVEL_UNROLL
        for (int s = 0; s < S; ++s)
        {
            AnalyserStage& st = bank.stages[s];
            V s1[NV], s2[NV];
            PARVEL_UNROLL
            for (int v = 0; v < NV; ++v)
            {
                s1[v] = Ops::Load(st.s1 + firstLane + v * W);
                s2[v] = Ops::Load(st.s2 + firstLane + v * W);
            }
            for (int i = 0; i < m; ++i)
            {
                PARVEL_UNROLL
                for (int v = 0; v < NV; ++v)
                {
                    const int at = firstLane + v * W;
                    float* y = work + (i * NV + v) * W;
                    const V x = s == 0 ? Ops::Broadcast(input + done + i) : Ops::Load(y);
                    const V k = Ops::Load(st.k + at);
                    const V a = (x - s2[v]) * k + Ops::Load(st.a2 + at) * s1[v];
                    Ops::Store(y, (a * Ops::Load(st.cA + at) + Ops::Load(st.cAPrev + at) * s1[v])
                                      + Ops::Load(st.cB + at) * s2[v]);
                    s2[v] = s2[v] + a * k;
                    s1[v] = a;
                }
            }
            PARVEL_UNROLL
            for (int v = 0; v < NV; ++v)
            {
                Ops::Store(st.s1 + firstLane + v * W, s1[v]);
                Ops::Store(st.s2 + firstLane + v * W, s2[v]);
            }
        }

        V c[NV], env[NV], held[NV];
        PARVEL_UNROLL
        for (int v = 0; v < NV; ++v)
        {
            c[v] = Ops::Load(bank.smoothing + firstLane + v * W);
            env[v] = Ops::Load(bank.envelope + firstLane + v * W);
            held[v] = Ops::Load(bank.heldPeak + firstLane + v * W);
        }
        for (int i = 0; i < m; ++i)
        {
            PARVEL_UNROLL
            for (int v = 0; v < NV; ++v)
            {
                const V mag = Ops::Abs(Ops::Load(work + (i * NV + v) * W));
                const V h = (mag - env[v]) * c[v] + env[v];
                env[v] = Ops::Max(h, mag); // mag < h ? h : mag
                held[v] = Ops::Max(held[v], env[v]);
            }
        }
        PARVEL_UNROLL
        for (int v = 0; v < NV; ++v)
        {
            Ops::Store(bank.envelope + firstLane + v * W, env[v]);
            Ops::Store(bank.heldPeak + firstLane + v * W, held[v]);
        }
    }

    // A lane whose sum of states and levels is not finite restarts from zero.
    PARVEL_UNROLL
    for (int v = 0; v < NV; ++v)
    {
        const int at = firstLane + v * W;
        const V env = Ops::Load(bank.envelope + at), held = Ops::Load(bank.heldPeak + at);
        V sum = env + held;
        PARVEL_UNROLL
        for (int s = 0; s < S; ++s)
            sum = sum + (Ops::Load(bank.stages[s].s1 + at) + Ops::Load(bank.stages[s].s2 + at));
        const V finite = Ops::Equal(sum - sum, Ops::Zero());
        PARVEL_UNROLL
        for (int s = 0; s < S; ++s)
        {
            float* s1 = bank.stages[s].s1 + at;
            float* s2 = bank.stages[s].s2 + at;
            Ops::Store(s1, Ops::Select(finite, Ops::Load(s1), Ops::Zero()));
            Ops::Store(s2, Ops::Select(finite, Ops::Load(s2), Ops::Zero()));
        }
        Ops::Store(bank.envelope + at, Ops::Select(finite, env, Ops::Zero()));
        Ops::Store(bank.heldPeak + at, Ops::Select(finite, held, Ops::Zero()));
    }
}

// All lanes, NV vectors at a time.
template <class Ops, int NV>
void RunAnalyser(AnalyserBank& bank, const float* input, int count)
{
    constexpr int kLanesPerPass = NV * Ops::kWidth;
    static_assert(AnalyserBank::kLanes % kLanesPerPass == 0, "whole passes");
    for (int first = 0; first < AnalyserBank::kLanes; first += kLanesPerPass)
        RunAnalyserVectors<Ops, NV>(bank, first, input, count);
}
