// SPDX-License-Identifier: GPL-3.0-or-later
// Four single-precision lanes: SSE on x86, a portable scalar fallback elsewhere (or with
// PARVEL_DSP_SCALAR defined). Every operation is an IEEE single operation per lane, so both give
// the same results. Loads and stores need 16-byte aligned addresses.
#pragma once

#if !defined(PARVEL_DSP_SCALAR) && (defined(__SSE__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 1))
#define PARVEL_DSP_SSE 1
#include <xmmintrin.h>
#endif

#ifdef PARVEL_DSP_SSE

struct Float4
{
    __m128 v;

    static Float4 Load(const float* p) { return { _mm_load_ps(p) }; }
    static Float4 Splat(float x) { return { _mm_set1_ps(x) }; }
    void Store(float* p) const { _mm_store_ps(p, v); }
};

inline Float4 operator+(Float4 a, Float4 b) { return { _mm_add_ps(a.v, b.v) }; }
inline Float4 operator-(Float4 a, Float4 b) { return { _mm_sub_ps(a.v, b.v) }; }
inline Float4 operator*(Float4 a, Float4 b) { return { _mm_mul_ps(a.v, b.v) }; }
inline Float4 Abs(Float4 a) { return { _mm_andnot_ps(_mm_set1_ps(-0.0f), a.v) }; }
// Per lane a > b ? a : b.
inline Float4 Max(Float4 a, Float4 b) { return { _mm_max_ps(a.v, b.v) }; }
// Per lane a < b ? b : a.
inline Float4 SelectLarger(Float4 a, Float4 b)
{
    const __m128 less = _mm_cmplt_ps(a.v, b.v);
    return { _mm_or_ps(_mm_and_ps(less, b.v), _mm_andnot_ps(less, a.v)) };
}

#else

struct Float4
{
    float v[4];

    static Float4 Load(const float* p) { return { { p[0], p[1], p[2], p[3] } }; }
    static Float4 Splat(float x) { return { { x, x, x, x } }; }
    void Store(float* p) const
    {
        for (int i = 0; i < 4; ++i)
            p[i] = v[i];
    }
};

inline Float4 operator+(Float4 a, Float4 b) { return { { a.v[0] + b.v[0], a.v[1] + b.v[1], a.v[2] + b.v[2], a.v[3] + b.v[3] } }; }
inline Float4 operator-(Float4 a, Float4 b) { return { { a.v[0] - b.v[0], a.v[1] - b.v[1], a.v[2] - b.v[2], a.v[3] - b.v[3] } }; }
inline Float4 operator*(Float4 a, Float4 b) { return { { a.v[0] * b.v[0], a.v[1] * b.v[1], a.v[2] * b.v[2], a.v[3] * b.v[3] } }; }
inline Float4 Abs(Float4 a)
{
    Float4 r;
    for (int i = 0; i < 4; ++i)
        r.v[i] = a.v[i] < 0.0f ? -a.v[i] : a.v[i];
    return r;
}
inline Float4 Max(Float4 a, Float4 b)
{
    Float4 r;
    for (int i = 0; i < 4; ++i)
        r.v[i] = a.v[i] > b.v[i] ? a.v[i] : b.v[i];
    return r;
}
inline Float4 SelectLarger(Float4 a, Float4 b)
{
    Float4 r;
    for (int i = 0; i < 4; ++i)
        r.v[i] = a.v[i] < b.v[i] ? b.v[i] : a.v[i];
    return r;
}

#endif
