#include "recon/routine_selection.h"

#include "recon/block_routines.h"
#include "recon/chroma_upsampling.h"
#include "recon/frame_conversion.h"
#include "recon/idct.h"
#include "recon/prediction.h"

namespace quarnel {
namespace {

// The members of every family for one instruction set. Families without a member for the
// set hold their portable member; the selection rules never pick those.
struct InstructionSetRoutines {
    IdctRoutine reference_idct, integer_idct, row_table_idct;
    const KernelTable& (*kernels)();
    BlockStoreRoutine block_store;
    QuantiserScalingRoutine quantiser_scaling;
    ChromaUpsamplingRoutine upsample_interlaced, upsample_progressive;
    FrameConversionRoutine rgb24, yuy2;
    Yuy2AdjustmentRoutine yuy2_adjustment;
};

constexpr InstructionSetRoutines portable{idct_reference,
                                          idct_integer,
                                          idct_row_table,
                                          portable_kernels,
                                          store_block,
                                          scale_quantiser_matrices,
                                          upsample_chroma_interlaced,
                                          upsample_chroma_progressive,
                                          convert_rgb24_422,
                                          pack_yuy2_422,
                                          adjust_yuy2};

#if QUARNEL_RECON_MMX
constexpr InstructionSetRoutines mmx{idct_reference,
                                     idct_integer_mmx,
                                     idct_row_table_mmx,
                                     mmx_kernels,
                                     store_block_mmx,
                                     scale_quantiser_matrices_mmx,
                                     upsample_chroma_interlaced_mmx,
                                     upsample_chroma_progressive_mmx,
                                     convert_rgb24_422_mmx,
                                     pack_yuy2_422_mmx,
                                     adjust_yuy2_mmx};
#else
constexpr InstructionSetRoutines mmx = portable;
#endif

constexpr InstructionSetRoutines with_reference(InstructionSetRoutines m, IdctRoutine reference) {
    m.reference_idct = reference;
    return m;
}

#if QUARNEL_RECON_SSE
constexpr InstructionSetRoutines sse = [] {
    InstructionSetRoutines m = with_reference(portable, idct_reference_sse);
    m.row_table_idct = idct_row_table_sse;
    m.kernels = sse_kernels;
    return m;
}();
#else
// Without SSE the single-precision transform still computes in single precision.
constexpr InstructionSetRoutines sse = with_reference(portable, idct_reference_single);
#endif

#if QUARNEL_RECON_SSE2
constexpr InstructionSetRoutines sse2{idct_reference,
                                      idct_integer,
                                      idct_row_table_sse2,
                                      sse2_kernels,
                                      store_block,
                                      scale_quantiser_matrices_sse2,
                                      upsample_chroma_interlaced_sse2,
                                      upsample_chroma_progressive_sse2,
                                      convert_rgb24_422_sse2,
                                      pack_yuy2_422_sse2,
                                      adjust_yuy2_sse2};
#else
constexpr InstructionSetRoutines sse2 = portable;
#endif

}  // namespace

ReconRoutines select_routines(const RoutineChoice& choice) {
    const bool mmx_bit = choice.simd & 1, sse_bit = choice.simd & 2, sse2_bit = choice.simd & 4;
    ReconRoutines r;

    if (!choice.yuy2_conversion)
        r.yuy2_adjustment = adjust_yuy2_none;
    else
        r.yuy2_adjustment = sse2_bit               ? sse2.yuy2_adjustment
                            : (sse_bit || mmx_bit) ? mmx.yuy2_adjustment
                                                   : portable.yuy2_adjustment;

    if (choice.idct_func == 0)
        r.idct = sse_bit ? sse.reference_idct : portable.reference_idct;
    else if (choice.idct_func == 1)
        r.idct = mmx_bit ? mmx.integer_idct : portable.integer_idct;
    else
        r.idct = sse2_bit  ? sse2.row_table_idct
                 : sse_bit ? sse.row_table_idct
                 : mmx_bit ? mmx.row_table_idct
                           : portable.row_table_idct;

    r.prediction = predict_macroblock;
    r.prediction_kernels = &(sse2_bit  ? sse2.kernels()
                             : sse_bit ? sse.kernels()
                             : mmx_bit ? mmx.kernels()
                                       : portable.kernels());

    r.block_store = mmx_bit ? mmx.block_store : portable.block_store;

    const InstructionSetRoutines& pixels = sse2_bit ? sse2 : mmx_bit ? mmx : portable;
    if (choice.chroma_format != 1) {
        r.upsample_interlaced = upsample_chroma_none;
        r.upsample_progressive = upsample_chroma_none;
    } else {
        r.upsample_interlaced = pixels.upsample_interlaced;
        r.upsample_progressive = pixels.upsample_progressive;
    }

    if (choice.chroma_format == 3) {
        r.rgb24 = convert_rgb24_444;
        r.yuy2 = pack_yuy2_444;
    } else {
        r.rgb24 = pixels.rgb24;
        r.yuy2 = pixels.yuy2;
    }

    r.quantiser_scaling = pixels.quantiser_scaling;
    return r;
}

}  // namespace quarnel
