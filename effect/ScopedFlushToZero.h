// SPDX-License-Identifier: GPL-3.0-or-later
// Flush-to-zero and denormals-are-zero for one scope, with the caller's floating-point control
// state restored when it ends. Decaying filter states would otherwise run into denormal numbers,
// which cost a hundred times a normal operation on x86. Elsewhere it changes nothing.
#pragma once

#if defined(__SSE__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 1)
#include <xmmintrin.h>
#define PARVEL_HAS_MXCSR 1
#else
#define PARVEL_HAS_MXCSR 0
#endif

class ScopedFlushToZero
{
public:
#if PARVEL_HAS_MXCSR
    static constexpr unsigned kFlushBits = 0x8040; // FTZ (bit 15) and DAZ (bit 6) of MXCSR

    ScopedFlushToZero() : saved(_mm_getcsr()) { _mm_setcsr(saved | kFlushBits); }
    ~ScopedFlushToZero() { _mm_setcsr(saved); }
#else
    ScopedFlushToZero() = default;
#endif
    ScopedFlushToZero(const ScopedFlushToZero&) = delete;
    ScopedFlushToZero& operator=(const ScopedFlushToZero&) = delete;

private:
#if PARVEL_HAS_MXCSR
    unsigned saved;
#endif
};
