#include "recon/idct.h"

#if QUARNEL_RECON_SSE
#include "recon/dct_matrix.h"
#include "recon/idct_simd.h"

namespace quarnel {

// Single-precision reference transform, four lanes at a time; conversion rounds to nearest
// and saturates to 16 bits, the word clamp then gives -256 .. 255.
void idct_reference_sse(std::int16_t* block) {
    const DctMatrix<float>& c = dct_matrix<float>();
    __m128 rows[8][2];
    for (int v = 0; v < 8; ++v)
        for (int h = 0; h < 2; ++h) {
            __m128 sum = _mm_setzero_ps();
            for (int u = 0; u < 8; ++u)
                sum =
                    _mm_add_ps(sum, _mm_mul_ps(_mm_loadu_ps(&c[u][4 * h]),
                                               _mm_set1_ps(static_cast<float>(block[8 * v + u]))));
            rows[v][h] = sum;
        }
    for (int y = 0; y < 8; ++y)
        for (int h = 0; h < 2; ++h) {
            __m128 sum = _mm_setzero_ps();
            for (int v = 0; v < 8; ++v)
                sum = _mm_add_ps(sum, _mm_mul_ps(rows[v][h], _mm_set1_ps(c[v][y])));
            simd::SseM64::store(block + 8 * y + 4 * h,
                                simd::SseM64::clamp16(_mm_cvtps_pi16(sum), -256, 255));
        }
    _mm_empty();
}

void idct_row_table_sse(std::int16_t* block) {
    simd::row_table_idct<simd::SseM64>(block);
}

}  // namespace quarnel
#endif
