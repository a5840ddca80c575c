// SPDX-License-Identifier: GPL-3.0-or-later
// The kernel levels this processor can run, for tests that force each one.
#pragma once

#include "SimdLevel.h"

#include <vector>

namespace dsptest
{
inline std::vector<SimdLevel> AvailableSimdLevels()
{
    std::vector<SimdLevel> levels;
    for (SimdLevel l : { SimdLevel::Portable, SimdLevel::Sse2, SimdLevel::Avx2 })
        if (SimdLevelAvailable(l))
            levels.push_back(l);
    return levels;
}

inline const char* SimdLevelName(SimdLevel l)
{
    switch (l)
    {
    case SimdLevel::Sse2:
        return "SSE2";
    case SimdLevel::Avx2:
        return "AVX2";
    default:
        return "portable";
    }
}

// The vector kernels exist wherever the build targets x86; a test that found only the portable
// loops there would prove nothing about them.
inline bool X86Build()
{
#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
    return true;
#else
    return false;
#endif
}
} // namespace dsptest
