#pragma once
// Block store and quantiser-matrix scaling.

#include "recon/routine_types.h"
#include "recon/simd_support.h"

namespace quarnel {

// Where block `block_number` of the macroblock at (x, y) lies: blocks 0 .. 3 are luma in
// raster order, then Cb and Cr alternate (ISO/IEC 13818-2, 6.1.3.6: 4:2:2 stacks 4 over 6;
// 4:4:4 adds 8 and 10 to the right of them). With field DCT, luma blocks and, outside 4:2:0,
// chroma blocks hold alternate lines.
struct BlockPlace {
    std::uint8_t* origin;
    std::ptrdiff_t step;
};
BlockPlace block_place(const PictureView& picture, const MacroblockContext& macroblock, int x,
                       int y, int block_number);

// Whether the macroblock of this chroma format has block `block_number` (6, 8 or 12 blocks).
bool block_in_macroblock(const MacroblockContext& macroblock, int block_number);

// Intra: clamp(sample); otherwise clamp(prediction + sample), to 0 .. 255. A block number
// the macroblock does not have stores nothing.
void store_block(const std::int16_t* block, const PictureView& picture,
                 const MacroblockContext& macroblock, int x, int y, int block_number);

// The four 8x8 matrices (256 weights) times the quantiser factor, low 16 bits kept.
inline constexpr int scaled_matrix_weights = 256;
void scale_quantiser_matrices(std::int16_t* destination, const std::int16_t* source, int factor);

#if QUARNEL_RECON_MMX
void store_block_mmx(const std::int16_t* block, const PictureView& picture,
                     const MacroblockContext& macroblock, int x, int y, int block_number);
void scale_quantiser_matrices_mmx(std::int16_t* destination, const std::int16_t* source,
                                  int factor);
#endif
#if QUARNEL_RECON_SSE2
void scale_quantiser_matrices_sse2(std::int16_t* destination, const std::int16_t* source,
                                   int factor);
#endif

}  // namespace quarnel
