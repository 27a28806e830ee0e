#pragma once
// Vertical chroma upsampling of 4:2:0 frames to 4:2:2, in place, both chroma planes.

#include "recon/routine_types.h"
#include "recon/simd_support.h"

namespace quarnel {

// Progressive: first and last lines copied; between source lines a and b the new lines are
// (3a + b + 2) >> 2 and (a + 3b + 2) >> 2.
void upsample_chroma_progressive(const ChromaFrame& frame);
// Interlaced, per field: chroma of the top field sits a quarter line below its luma lines,
// of the bottom field a quarter line above, so the new lines weigh their neighbours 7/8 and
// 1/8, or 5/8 and 3/8, rounding (... + 4) >> 3.
void upsample_chroma_interlaced(const ChromaFrame& frame);
// For streams that are not 4:2:0.
void upsample_chroma_none(const ChromaFrame& frame);

#if QUARNEL_RECON_MMX
void upsample_chroma_progressive_mmx(const ChromaFrame& frame);
void upsample_chroma_interlaced_mmx(const ChromaFrame& frame);
#endif
#if QUARNEL_RECON_SSE2
void upsample_chroma_progressive_sse2(const ChromaFrame& frame);
void upsample_chroma_interlaced_sse2(const ChromaFrame& frame);
#endif

}  // namespace quarnel
