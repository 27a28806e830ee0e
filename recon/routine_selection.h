#pragma once
// The choice, at video open, of the picture reconstruction routines. `simd` is the user's
// set of allowed instruction sets (bit 0 MMX, bit 1 SSE, bit 2 SSE2), not a detection:
// a set bit selects its routines whether or not the processor has them. On a target whose
// compiler lacks a set, its routines are the portable ones.

#include "recon/routine_types.h"

namespace quarnel {

struct RoutineChoice {
    int simd = 0;
    int idct_func = 1;
    int chroma_format = 1;         // the sequence extension's; 1 for MPEG-1
    bool yuy2_conversion = false;  // whether the YUY2 output needs a matrix adjustment
};

// The nine routine slots. The first four belong to the decoder context, the rest to the video
// source; the prediction routine comes with its kernel table.
struct ReconRoutines {
    QuantiserScalingRoutine quantiser_scaling = nullptr;
    PredictionRoutine prediction = nullptr;
    const KernelTable* prediction_kernels = nullptr;
    IdctRoutine idct = nullptr;
    BlockStoreRoutine block_store = nullptr;
    FrameConversionRoutine rgb24 = nullptr;
    FrameConversionRoutine yuy2 = nullptr;
    Yuy2AdjustmentRoutine yuy2_adjustment = nullptr;
    ChromaUpsamplingRoutine upsample_interlaced = nullptr;
    ChromaUpsamplingRoutine upsample_progressive = nullptr;
};

ReconRoutines select_routines(const RoutineChoice& choice);

}  // namespace quarnel
