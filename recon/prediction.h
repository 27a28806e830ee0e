#pragma once
// Motion-compensated prediction (ISO/IEC 13818-2, 7.6): kernels that form one 8- or
// 16-pixel-wide block from a reference, and the routine that runs them for the luma and
// chroma blocks of a macroblock.

#include "recon/routine_types.h"
#include "recon/simd_support.h"

namespace quarnel {

// Half-pel interpolation rounds (a + b + 1) >> 1 and (a + b + c + d + 2) >> 2; averaging
// into the existing prediction p rounds (p + new + 1) >> 1.
const KernelTable& portable_kernels();
#if QUARNEL_RECON_MMX
const KernelTable& mmx_kernels();
#endif
#if QUARNEL_RECON_SSE
// The MMX table with byte-averaging kernels wherever byte averaging rounds exactly as above:
// full-pel averaging and one-direction half-pel, both widths.
const KernelTable& sse_kernels();
#endif
#if QUARNEL_RECON_SSE2
// The SSE table with SSE2 kernels for every 16-wide entry but the full-pel store.
const KernelTable& sse2_kernels();
#endif

inline constexpr int kernel_index(bool wide, bool half_x, bool half_y, bool store) {
    return 8 * wide + 4 * half_x + 2 * half_y + store;
}

// Prediction types: 0 predicts 16 luma lines of the frame. The field types predict 8 lines
// of one field at twice the line step: the low bits choose the reference field (1 top,
// 2 bottom); type / 16 chooses the destination field (0 the same parity as the reference,
// 1 top, 2 bottom). Positions are in frame lines; a field prediction starts at field line
// y / 2. Other types do nothing. The reference has the line steps of `current`. Chroma vectors are
// halved toward zero (ISO/IEC 13818-2, 7.6.3.7) horizontally except in 4:4:4 and vertically only in
// 4:2:0.
void predict_macroblock(const KernelTable& kernels, const PictureView& current,
                        const PictureView& reference, const PredictionRequest& request);

}  // namespace quarnel
