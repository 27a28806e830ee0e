#pragma once
// The per-sequence data the picture decoder starts from: sizes, the stream's flavour and the
// quantiser matrices in the raster order the inverse quantiser indexes them by.

#include <array>
#include <cstdint>
#include <utility>

#include "video/sequence_info.h"

namespace quarnel {

// Scan order of coefficients in a block: zigzag_scan[i] is the raster index of the i-th coded
// value (ISO/IEC 13818-2 Figure 7-2, alternate_scan 0; the only order of ISO/IEC 11172-2).
inline constexpr std::array<std::uint8_t, 64> zigzag_scan{
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// The intra matrix in force when a sequence header loads none, in raster order
// (ISO/IEC 13818-2 6.3.11); the default non-intra matrix is 16 everywhere.
inline constexpr std::array<std::uint8_t, 64> default_intra_quantiser_matrix{
    8,  16, 19, 22, 26, 27, 29, 34, 16, 16, 22, 24, 27, 29, 34, 37, 19, 22, 26, 27, 29, 34,
    34, 38, 22, 22, 26, 27, 29, 34, 37, 40, 22, 26, 27, 29, 32, 35, 40, 48, 26, 27, 29, 32,
    35, 40, 48, 58, 26, 27, 29, 34, 38, 46, 56, 69, 27, 29, 35, 38, 46, 56, 69, 83};
inline constexpr std::int16_t default_non_intra_quantiser_value = 16;

// Four 8x8 weight matrices in one block, the layout the quantiser-matrix scaling works on.
enum class QuantiserMatrixKind { intra = 0, non_intra = 1, chroma_intra = 2, chroma_non_intra = 3 };
using QuantiserMatrices = std::array<std::int16_t, 256>;

// Raster-order matrix `kind` within `matrices`.
inline const std::int16_t* quantiser_matrix(const QuantiserMatrices& matrices,
                                            QuantiserMatrixKind kind) {
    return matrices.data() + 64 * static_cast<int>(kind);
}
inline std::int16_t* quantiser_matrix(QuantiserMatrices& matrices, QuantiserMatrixKind kind) {
    return const_cast<std::int16_t*>(quantiser_matrix(std::as_const(matrices), kind));
}

struct DecoderContext {
    std::int32_t coded_height = 0;
    std::int32_t scalable_mode = -1;  // -1 without a sequence scalable extension
    std::int32_t mpeg1 = 0;
    std::int32_t chroma_format = 1;  // 1 = 4:2:0, 2 = 4:2:2, 3 = 4:4:4
    alignas(16) QuantiserMatrices quantiser_matrices{};
};

// The context a decoder starts a stream with, from its first sequence header. Each chroma
// matrix starts as a copy of its luma matrix.
DecoderContext make_decoder_context(const SequenceInfo& sequence);

}  // namespace quarnel
