#pragma once
// Shapes of the picture reconstruction routines. A video source holds one of each, chosen
// once at open (see routine_selection.h).

#include "recon/picture_views.h"
#include "recon/yuy2_record.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace quarnel {

// 64 coefficients in raster order, replaced in place by 64 samples.
using IdctRoutine = void (*)(std::int16_t* block);

// Writes an 8x8 block of samples into its plane at macroblock position (x, y) in luma pixels;
// a non-intra block is added to the prediction already there.
using BlockStoreRoutine = void (*)(const std::int16_t* block, const PictureView& picture,
                                   const MacroblockContext& macroblock, int x, int y,
                                   int block_number);

// One 8- or 16-pixel-wide prediction of `rows` lines.
using PredictionKernel = void (*)(const std::uint8_t* source, std::uint8_t* destination,
                                  std::ptrdiff_t source_step, std::ptrdiff_t destination_step,
                                  int rows);

// Indexed by 8 x (16 wide) + 4 x (horizontal half pel) + 2 x (vertical half pel) + (store).
using KernelTable = std::array<PredictionKernel, 16>;

// What the prediction routine is asked to do for one macroblock.
struct PredictionRequest {
    int type = 0;      // 0: 16-line frame prediction; 1, 2, 17, 18, 33, 34: 8-line field
    int vector_x = 0;  // half pels
    int vector_y = 0;
    int x = 0;  // macroblock position in luma pixels
    int y = 0;
    bool store = true;  // false: average into what is already there
    int chroma_format = 1;
};

using PredictionRoutine = void (*)(const KernelTable& kernels, const PictureView& current,
                                   const PictureView& reference, const PredictionRequest& request);

// destination[k] = low 16 bits of source[k] x factor, for the 256 weights of four matrices.
using QuantiserScalingRoutine = void (*)(std::int16_t* destination, const std::int16_t* source,
                                         int factor);

using ChromaUpsamplingRoutine = void (*)(const ChromaFrame& frame);

// One output frame; even lines come from `first`, odd lines from `second`.
using FrameConversionRoutine = void (*)(const PictureView& first, const PictureView& second,
                                        const OutputView& output, const ColourParameters& colour);

// Adjusts a YUY2 buffer in place; `line_length` is the signed step between lines in bytes.
using Yuy2AdjustmentRoutine = void (*)(std::uint8_t* buffer, std::ptrdiff_t line_length, int lines,
                                       const Yuy2Record& record);

}  // namespace quarnel
