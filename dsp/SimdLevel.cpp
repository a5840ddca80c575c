// SPDX-License-Identifier: GPL-3.0-or-later
// Called on the audio thread: lock-free (the detection is idempotent, so racing first calls agree).
#include "SimdLevel.h"

#include <atomic>

#if defined(PARVEL_X86_KERNELS) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>
#define PARVEL_X86_CPUID 1
#endif

namespace
{
#ifdef PARVEL_X86_CPUID
// AVX2 needs the instructions (CPUID leaf 7) and an operating system that saves the YMM registers
// on a context switch (OSXSAVE, and XCR0 with the SSE and AVX state bits).
bool HasAvx2()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d) == 0)
        return false;
    if ((c & bit_OSXSAVE) == 0 || (c & bit_AVX) == 0)
        return false;
    unsigned xcr0 = 0, xcr0High = 0;
    __asm__ volatile("xgetbv" : "=a"(xcr0), "=d"(xcr0High) : "c"(0));
    if ((xcr0 & 0x6) != 0x6)
        return false;
    if (__get_cpuid_max(0, nullptr) < 7)
        return false;
    __cpuid_count(7, 0, a, b, c, d);
    return (b & bit_AVX2) != 0;
}
#endif

SimdLevel Detect()
{
#if defined(PARVEL_X86_CPUID)
    return HasAvx2() ? SimdLevel::Avx2 : SimdLevel::Sse2;
#elif defined(PARVEL_X86_KERNELS)
    return SimdLevel::Sse2;
#else
    return SimdLevel::Portable;
#endif
}

std::atomic<int> detected { -1 };
} // namespace

SimdLevel BestSimdLevel()
{
    int level = detected.load(std::memory_order_relaxed);
    if (level < 0)
    {
        level = static_cast<int>(Detect());
        detected.store(level, std::memory_order_relaxed);
    }
    return static_cast<SimdLevel>(level);
}

bool SimdLevelAvailable(SimdLevel level)
{
    return static_cast<int>(level) <= static_cast<int>(BestSimdLevel());
}
