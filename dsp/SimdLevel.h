// SPDX-License-Identifier: GPL-3.0-or-later
// The instruction sets the vector kernels come in. Every level computes the same samples, bit for
// bit, so the choice only changes the speed. x86 always has SSE2 (it is part of the x86-64 base
// and the 32-bit build requires it); AVX2 is taken when the processor and the operating system
// both support it.
#pragma once

enum class SimdLevel : int
{
    Portable = 0, // plain per-section loops, no vector code (also the reference)
    Sse2 = 1,
    Avx2 = 2,
};

// The widest level this processor runs; detected once.
SimdLevel BestSimdLevel();

// True when this processor can run the level (Portable always can).
bool SimdLevelAvailable(SimdLevel level);
