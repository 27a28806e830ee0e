#pragma once
// Thin wrappers that let one template express a routine for MMX registers (Mmx, and SseM64
// with the SSE integer additions) and for SSE2 registers (Sse2). Each names the instruction
// it stands for; loads and stores go through memcpy, so no alignment is assumed.

#include "recon/simd_support.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#if QUARNEL_RECON_MMX
#include <mmintrin.h>
#endif
#if QUARNEL_RECON_SSE
#include <xmmintrin.h>
#endif
#if QUARNEL_RECON_SSE2
#include <emmintrin.h>
#endif

namespace quarnel::simd {

#if QUARNEL_RECON_MMX
struct Mmx {
    using V = __m64;
    static constexpr int bytes = 8;

    static V load(const void* p) {
        V v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static void store(void* p, V v) { std::memcpy(p, &v, sizeof v); }
    static V zero() { return _mm_setzero_si64(); }
    static V set16(int v) { return _mm_set1_pi16(static_cast<short>(v)); }
    static V set32(int v) { return _mm_set1_pi32(v); }
    static V or_(V a, V b) { return _mm_or_si64(a, b); }
    static V and_(V a, V b) { return _mm_and_si64(a, b); }
    // The first n bytes at p, the rest zero.
    static V load_partial(const void* p, int n) {
        V v = zero();
        std::memcpy(&v, p, static_cast<std::size_t>(n));
        return v;
    }

    static V add16(V a, V b) { return _mm_add_pi16(a, b); }
    static V adds16(V a, V b) { return _mm_adds_pi16(a, b); }
    static V subs16(V a, V b) { return _mm_subs_pi16(a, b); }
    static V sub16(V a, V b) { return _mm_sub_pi16(a, b); }
    static V mullo16(V a, V b) { return _mm_mullo_pi16(a, b); }
    static V mulhi16(V a, V b) { return _mm_mulhi_pi16(a, b); }
    static V srai16(V a, int n) { return _mm_srai_pi16(a, n); }
    static V srli16(V a, int n) { return _mm_srli_pi16(a, n); }
    static V madd(V a, V b) { return _mm_madd_pi16(a, b); }
    static V add32(V a, V b) { return _mm_add_pi32(a, b); }
    static V sub32(V a, V b) { return _mm_sub_pi32(a, b); }
    static V srai32(V a, int n) { return _mm_srai_pi32(a, n); }
    static V srli32(V a, int n) { return _mm_srli_pi32(a, n); }
    static V unpacklo32(V a, V b) { return _mm_unpacklo_pi32(a, b); }
    static V unpackhi32(V a, V b) { return _mm_unpackhi_pi32(a, b); }
    static V slli32(V a, int n) { return _mm_slli_pi32(a, n); }
    static V packs32(V a, V b) { return _mm_packs_pi32(a, b); }
    static V packus16(V a, V b) { return _mm_packs_pu16(a, b); }
    static V unpacklo8(V a, V b) { return _mm_unpacklo_pi8(a, b); }
    static V unpackhi8(V a, V b) { return _mm_unpackhi_pi8(a, b); }
    static V unpacklo16(V a, V b) { return _mm_unpacklo_pi16(a, b); }
    static V unpackhi16(V a, V b) { return _mm_unpackhi_pi16(a, b); }

    // Dword order reversed: [d0 d1] -> [d1 d0].
    static V reverse32(V a) { return _mm_or_si64(_mm_srli_si64(a, 32), _mm_slli_si64(a, 32)); }
    // Clamp of signed words through saturating arithmetic (MMX has no word minimum).
    static V clamp16(V a, int low, int high) {
        a = subs16(adds16(a, set16(32767 - high)), set16(32767 - high));
        return adds16(subs16(a, set16(32768 + low)), set16(32768 + low));
    }
    // Words (r0, r2), (r4, r6), (r1, r3), (r5, r7) of an 8-word row, each pair in every dword.
    static void row_pairs(const std::int16_t* row, V pairs[4]) {
        for (int half = 0; half < 2; ++half) {
            const V r = load(row + 4 * half);
            const V even_odd = _mm_unpacklo_pi16(r, _mm_srli_si64(r, 32));  // r0 r2 r1 r3
            pairs[half] = _mm_unpacklo_pi32(even_odd, even_odd);
            pairs[2 + half] = _mm_unpackhi_pi32(even_odd, even_odd);
        }
    }
    static void finish() { _mm_empty(); }
};
#endif

#if QUARNEL_RECON_SSE
// MMX registers with the SSE integer instructions: word shuffles, minimum and maximum,
// byte averaging.
struct SseM64 : Mmx {
    static V clamp16(V a, int low, int high) {
        return _mm_max_pi16(_mm_min_pi16(a, set16(high)), set16(low));
    }
    static void row_pairs(const std::int16_t* row, V pairs[4]) {
        for (int half = 0; half < 2; ++half) {
            const V r = load(row + 4 * half);
            pairs[half] = _mm_shuffle_pi16(r, _MM_SHUFFLE(2, 0, 2, 0));
            pairs[2 + half] = _mm_shuffle_pi16(r, _MM_SHUFFLE(3, 1, 3, 1));
        }
    }
    static V avg8(V a, V b) { return _mm_avg_pu8(a, b); }
};
#endif

#if QUARNEL_RECON_SSE2
struct Sse2 {
    using V = __m128i;
    static constexpr int bytes = 16;

    static V load(const void* p) { return _mm_loadu_si128(static_cast<const V*>(p)); }
    static void store(void* p, V v) { _mm_storeu_si128(static_cast<V*>(p), v); }
    static V zero() { return _mm_setzero_si128(); }
    static V set16(int v) { return _mm_set1_epi16(static_cast<short>(v)); }
    static V set32(int v) { return _mm_set1_epi32(v); }
    static V or_(V a, V b) { return _mm_or_si128(a, b); }
    static V and_(V a, V b) { return _mm_and_si128(a, b); }
    static V load_partial(const void* p, int n) {
        alignas(16) std::uint8_t head[16] = {};
        std::memcpy(head, p, static_cast<std::size_t>(n));
        return load(head);
    }

    static V add16(V a, V b) { return _mm_add_epi16(a, b); }
    static V adds16(V a, V b) { return _mm_adds_epi16(a, b); }
    static V subs16(V a, V b) { return _mm_subs_epi16(a, b); }
    static V sub16(V a, V b) { return _mm_sub_epi16(a, b); }
    static V mullo16(V a, V b) { return _mm_mullo_epi16(a, b); }
    static V mulhi16(V a, V b) { return _mm_mulhi_epi16(a, b); }
    static V srai16(V a, int n) { return _mm_srai_epi16(a, n); }
    static V srli16(V a, int n) { return _mm_srli_epi16(a, n); }
    static V madd(V a, V b) { return _mm_madd_epi16(a, b); }
    static V add32(V a, V b) { return _mm_add_epi32(a, b); }
    static V sub32(V a, V b) { return _mm_sub_epi32(a, b); }
    static V srai32(V a, int n) { return _mm_srai_epi32(a, n); }
    static V srli32(V a, int n) { return _mm_srli_epi32(a, n); }
    static V unpacklo32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
    static V unpackhi32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
    static V slli32(V a, int n) { return _mm_slli_epi32(a, n); }
    static V packs32(V a, V b) { return _mm_packs_epi32(a, b); }
    static V packus16(V a, V b) { return _mm_packus_epi16(a, b); }
    static V unpacklo8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
    static V unpackhi8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
    static V unpacklo16(V a, V b) { return _mm_unpacklo_epi16(a, b); }
    static V unpackhi16(V a, V b) { return _mm_unpackhi_epi16(a, b); }

    static V reverse32(V a) { return _mm_shuffle_epi32(a, _MM_SHUFFLE(0, 1, 2, 3)); }
    static V clamp16(V a, int low, int high) {
        return _mm_max_epi16(_mm_min_epi16(a, set16(high)), set16(low));
    }
    static void row_pairs(const std::int16_t* row, V pairs[4]) {
        const V r = load(row);
        const V lo = _mm_shufflelo_epi16(r, _MM_SHUFFLE(3, 1, 2, 0));  // r0 r2 r1 r3
        const V hi = _mm_shufflehi_epi16(r, _MM_SHUFFLE(3, 1, 2, 0));  // r4 r6 r5 r7
        pairs[0] = _mm_shuffle_epi32(lo, _MM_SHUFFLE(0, 0, 0, 0));
        pairs[1] = _mm_shuffle_epi32(hi, _MM_SHUFFLE(2, 2, 2, 2));
        pairs[2] = _mm_shuffle_epi32(lo, _MM_SHUFFLE(1, 1, 1, 1));
        pairs[3] = _mm_shuffle_epi32(hi, _MM_SHUFFLE(3, 3, 3, 3));
    }
    static V avg8(V a, V b) { return _mm_avg_epu8(a, b); }
    static void finish() {}
};
#endif

}  // namespace quarnel::simd
