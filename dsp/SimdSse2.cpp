// SPDX-License-Identifier: GPL-3.0-or-later
// The kernels on four SSE2 lanes. Only unaligned loads and stores: the data may sit on a stack
// that 32-bit Windows aligns to four bytes. Everything here has internal linkage or is a kernel
// entry, so no inline code is shared with translation units built for other instruction sets.
#include "SimdKernels.h"

#include "AnalyserKernel.h"
#include "CascadeKernel.h"

#include <emmintrin.h>

namespace
{
struct Vec
{
    __m128 v;
};
inline Vec operator+(Vec a, Vec b) { return { _mm_add_ps(a.v, b.v) }; }
inline Vec operator-(Vec a, Vec b) { return { _mm_sub_ps(a.v, b.v) }; }
inline Vec operator*(Vec a, Vec b) { return { _mm_mul_ps(a.v, b.v) }; }

struct Sse2
{
    using V = Vec;
    using I = __m128i;
    static constexpr int kWidth = 4;

    static V Load(const float* p) { return { _mm_loadu_ps(p) }; }
    static void Store(float* p, V a) { _mm_storeu_ps(p, a.v); }
    static V Zero() { return { _mm_setzero_ps() }; }
    static V Broadcast(const float* p) { return { _mm_set1_ps(*p) }; }
    static V Abs(V a) { return { _mm_andnot_ps(_mm_set1_ps(-0.0f), a.v) }; }
    // Per lane a > b ? a : b.
    static V Max(V a, V b) { return { _mm_max_ps(a.v, b.v) }; }
    static V Equal(V a, V b) { return { _mm_cmpeq_ps(a.v, b.v) }; }
    // Per lane mask ? a : b, the mask lanes all ones or all zeros.
    static V Select(V mask, V a, V b) { return { _mm_or_ps(_mm_and_ps(mask.v, a.v), _mm_andnot_ps(mask.v, b.v)) }; }

    static I LoadInt(const int* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static I SplatInt(int x) { return _mm_set1_epi32(x); }
    static I AddInt(I a, I b) { return _mm_add_epi32(a, b); }
    // Per lane 0 <= u < n, as a full mask: the sign of u - n without the sign of u.
    static V InRange(I u, I n)
    {
        return { _mm_castsi128_ps(_mm_srai_epi32(_mm_andnot_si128(u, _mm_sub_epi32(u, n)), 31)) };
    }

    // Sample t of each channel in the top C lanes, where ShiftSection takes it from.
    template <int C>
    static V Input(const float* buf0, const float* buf1, int t)
    {
        if constexpr (C == 1)
            return { _mm_set1_ps(buf0[t]) };
        const __m128 pair = _mm_unpacklo_ps(_mm_load_ss(buf0 + t), _mm_load_ss(buf1 + t));
        return { _mm_movelh_ps(pair, pair) };
    }

    // The lanes of y moved up by one section (C lanes), the top C lanes of prev entering below.
    template <int C>
    static V ShiftSection(V prev, V y)
    {
        if constexpr (C == 2)
            return { _mm_shuffle_ps(prev.v, y.v, _MM_SHUFFLE(1, 0, 3, 2)) };
        const __m128 edge = _mm_shuffle_ps(prev.v, y.v, _MM_SHUFFLE(0, 0, 3, 3)); // p3 p3 y0 y0
        return { _mm_shuffle_ps(edge, y.v, _MM_SHUFFLE(2, 1, 2, 0)) };             // p3 y0 y1 y2
    }
};

// Two sections per vector, so twelve sections of two channels make six vectors: their work per
// step outlasts the chain from one section to the next, and one step of stagger is enough.
constexpr int kStagger = 1;
// All 32 bands in one pass.
constexpr int kAnalyserVectors = 8;
} // namespace

void RunCascadeSse2(CascadeLanes& lanes, float* buf0, float* buf1, int n)
{
    RunCascade<Sse2, kStagger>(lanes, buf0, buf1, n);
}

void RunAnalyserSse2(AnalyserBank& bank, const float* input, int count)
{
    RunAnalyser<Sse2, kAnalyserVectors>(bank, input, count);
}
