// SPDX-License-Identifier: GPL-3.0-or-later
// Code generation hints for the vector kernels. Their loops over vectors, stages and lanes run a
// handful of times each, and their steps are lambdas; unrolled and inlined, the arrays of
// vectors they work on become registers instead of memory.
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define PARVEL_UNROLL _Pragma("GCC unroll 16")
#define PARVEL_INLINE __attribute__((always_inline))
#else
#define PARVEL_UNROLL
#define PARVEL_INLINE
#endif
