#pragma once
// Inverse DCTs of 8x8 blocks (ISO/IEC 13818-2, 7.5; accuracy after IEEE Std 1180-1990).
// Each takes 64 coefficients in raster order and leaves 64 samples in their place.

#include "recon/simd_support.h"

#include <cstdint>

namespace quarnel {

// Separable transform by the DCT matrix in double precision; output rounded and clamped to
// -256 .. 255.
void idct_reference(std::int16_t* block);
// The same in single precision, rounding to nearest.
void idct_reference_single(std::int16_t* block);

// Loeffler-Ligtenberg-Moschytz flow graph with 13-bit constants; output clamped to -256 .. 255.
void idct_integer(std::int16_t* block);

// Rows by the AP-922 coefficient tables, columns by tangent butterflies; not clamped.
void idct_row_table(std::int16_t* block);

#if QUARNEL_RECON_MMX
void idct_integer_mmx(std::int16_t* block);
void idct_row_table_mmx(std::int16_t* block);
#endif
#if QUARNEL_RECON_SSE
void idct_reference_sse(std::int16_t* block);
void idct_row_table_sse(std::int16_t* block);
#endif
#if QUARNEL_RECON_SSE2
void idct_row_table_sse2(std::int16_t* block);
#endif

}  // namespace quarnel
