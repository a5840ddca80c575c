// SPDX-License-Identifier: GPL-3.0-or-later
// The kernels on eight AVX2 lanes. This file alone is compiled with -mavx2 (and without FMA, so
// no multiply-add is ever fused); it runs only after BestSimdLevel found AVX2. Everything here
// has internal linkage or is a kernel entry, so no inline code compiled for AVX2 can stand in
// for the rest of the program's. Only unaligned loads and stores: no alignment is assumed.
#include "SimdKernels.h"

#include "AnalyserKernel.h"
#include "CascadeKernel.h"

#include <immintrin.h>

#if defined(__FMA__)
#error "the AVX2 kernels must be compiled without FMA: a fused multiply-add would change the samples"
#endif

namespace
{
struct Vec
{
    __m256 v;
};
inline Vec operator+(Vec a, Vec b) { return { _mm256_add_ps(a.v, b.v) }; }
inline Vec operator-(Vec a, Vec b) { return { _mm256_sub_ps(a.v, b.v) }; }
inline Vec operator*(Vec a, Vec b) { return { _mm256_mul_ps(a.v, b.v) }; }

struct Avx2
{
    using V = Vec;
    using I = __m256i;
    static constexpr int kWidth = 8;

    static V Load(const float* p) { return { _mm256_loadu_ps(p) }; }
    static void Store(float* p, V a) { _mm256_storeu_ps(p, a.v); }
    static V Zero() { return { _mm256_setzero_ps() }; }
    static V Broadcast(const float* p) { return { _mm256_broadcast_ss(p) }; }
    static V Abs(V a) { return { _mm256_andnot_ps(_mm256_set1_ps(-0.0f), a.v) }; }
    // Per lane a > b ? a : b.
    static V Max(V a, V b) { return { _mm256_max_ps(a.v, b.v) }; }
    static V Equal(V a, V b) { return { _mm256_cmp_ps(a.v, b.v, _CMP_EQ_OQ) }; }
    // Per lane mask ? a : b; reads only the sign bit of the mask.
    static V Select(V mask, V a, V b) { return { _mm256_blendv_ps(b.v, a.v, mask.v) }; }

    static I LoadInt(const int* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static I SplatInt(int x) { return _mm256_set1_epi32(x); }
    static I AddInt(I a, I b) { return _mm256_add_epi32(a, b); }
    // Per lane 0 <= u < n, in the sign bit (all that Select reads): the sign of u - n without
    // the sign of u.
    static V InRange(I u, I n) { return { _mm256_castsi256_ps(_mm256_andnot_si256(u, _mm256_sub_epi32(u, n))) }; }

    // Sample t of each channel in the top C lanes, where ShiftSection takes it from.
    template <int C>
    static V Input(const float* buf0, const float* buf1, int t)
    {
        if constexpr (C == 1)
            return { _mm256_broadcast_ss(buf0 + t) };
        return { _mm256_unpacklo_ps(_mm256_broadcast_ss(buf0 + t), _mm256_broadcast_ss(buf1 + t)) };
    }

    // The lanes of y moved up by one section (C lanes), the top C lanes of prev entering below.
    template <int C>
    static V ShiftSection(V prev, V y)
    {
        const __m256 across = _mm256_permute2f128_ps(prev.v, y.v, 0x21); // p4..p7 y0..y3
        if constexpr (C == 2)
            return { _mm256_shuffle_ps(across, y.v, _MM_SHUFFLE(1, 0, 3, 2)) };
        return { _mm256_castsi256_ps(_mm256_alignr_epi8(_mm256_castps_si256(y.v), _mm256_castps_si256(across), 12)) };
    }
};

// Four sections per vector, so twelve sections of two channels make only three vectors: their
// work per step is shorter than the chain from one section to the next, so two steps of stagger.
constexpr int kStagger = 2;
// All 32 bands in one pass.
constexpr int kAnalyserVectors = 4;
} // namespace

void RunCascadeAvx2(CascadeLanes& lanes, float* buf0, float* buf1, int n)
{
    RunCascade<Avx2, kStagger>(lanes, buf0, buf1, n);
}

void RunAnalyserAvx2(AnalyserBank& bank, const float* input, int count)
{
    RunAnalyser<Avx2, kAnalyserVectors>(bank, input, count);
}
