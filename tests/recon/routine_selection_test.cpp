#include "recon/routine_selection.h"

#include "recon/block_routines.h"
#include "recon/chroma_upsampling.h"
#include "recon/frame_conversion.h"
#include "recon/idct.h"
#include "recon/prediction.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

ReconRoutines select(int simd, int idct_func, int chroma_format = 1, bool yuy2_conversion = false) {
    return select_routines({simd, idct_func, chroma_format, yuy2_conversion});
}

// Every slot filled, and the prediction routine is the one routine of its family.
void expect_complete(const ReconRoutines& r) {
    EXPECT_NE(r.quantiser_scaling, nullptr);
    EXPECT_EQ(r.prediction, predict_macroblock);
    EXPECT_NE(r.prediction_kernels, nullptr);
    EXPECT_NE(r.idct, nullptr);
    EXPECT_NE(r.block_store, nullptr);
    EXPECT_NE(r.rgb24, nullptr);
    EXPECT_NE(r.yuy2, nullptr);
    EXPECT_NE(r.yuy2_adjustment, nullptr);
    EXPECT_NE(r.upsample_interlaced, nullptr);
    EXPECT_NE(r.upsample_progressive, nullptr);
}

TEST(RoutineSelection, DefaultsArePortableWithTheIntegerTransform) {
    const ReconRoutines r = select(0, 1);
    expect_complete(r);
    EXPECT_EQ(r.idct, idct_integer);
    EXPECT_EQ(r.prediction_kernels, &portable_kernels());
    EXPECT_EQ(r.block_store, store_block);
    EXPECT_EQ(r.quantiser_scaling, scale_quantiser_matrices);
    EXPECT_EQ(r.upsample_interlaced, upsample_chroma_interlaced);
    EXPECT_EQ(r.upsample_progressive, upsample_chroma_progressive);
    EXPECT_EQ(r.rgb24, convert_rgb24_422);
    EXPECT_EQ(r.yuy2, pack_yuy2_422);
    EXPECT_EQ(r.yuy2_adjustment, adjust_yuy2_none);
    EXPECT_EQ(select(0, 1, 1, true).yuy2_adjustment, adjust_yuy2);
}

TEST(RoutineSelection, ReferenceTransformIgnoresTheMmxBit) {
    EXPECT_EQ(select(1, 0).idct, idct_reference);
    EXPECT_EQ(select(0, 0).idct, idct_reference);
    EXPECT_EQ(select(4, 0).idct, idct_reference);
}

#if QUARNEL_RECON_SSE2
TEST(RoutineSelection, Sse2AndSseBitsGiveSse2Members) {
    const ReconRoutines r = select(6, 7, 1, true);
    expect_complete(r);
    EXPECT_EQ(r.idct, idct_row_table_sse2);
    EXPECT_EQ(r.prediction_kernels, &sse2_kernels());
    EXPECT_EQ(r.quantiser_scaling, scale_quantiser_matrices_sse2);
    EXPECT_EQ(r.block_store, store_block);  // block store has no SSE2 member
    EXPECT_EQ(r.upsample_progressive, upsample_chroma_progressive_sse2);
    EXPECT_EQ(r.rgb24, convert_rgb24_422_sse2);
    EXPECT_EQ(r.yuy2_adjustment, adjust_yuy2_sse2);
}

TEST(RoutineSelection, SseBitAlone) {
    EXPECT_EQ(select(2, 0).idct, idct_reference_sse);
    EXPECT_EQ(select(2, 1).idct, idct_integer);
    EXPECT_EQ(select(2, 2).idct, idct_row_table_sse);
    const ReconRoutines r = select(2, 1, 1, true);
    EXPECT_EQ(r.prediction_kernels, &sse_kernels());
    EXPECT_EQ(r.block_store, store_block);
    EXPECT_EQ(r.quantiser_scaling, scale_quantiser_matrices);
    EXPECT_EQ(r.upsample_interlaced, upsample_chroma_interlaced);
    EXPECT_EQ(r.rgb24, convert_rgb24_422);
    EXPECT_EQ(r.yuy2, pack_yuy2_422);
    EXPECT_EQ(r.yuy2_adjustment, adjust_yuy2_mmx);
}

TEST(RoutineSelection, MmxBitAlone) {
    const ReconRoutines r = select(1, 1, 1, true);
    EXPECT_EQ(r.idct, idct_integer_mmx);
    EXPECT_EQ(select(1, 5).idct, idct_row_table_mmx);
    EXPECT_EQ(r.prediction_kernels, &mmx_kernels());
    EXPECT_EQ(r.block_store, store_block_mmx);
    EXPECT_EQ(r.quantiser_scaling, scale_quantiser_matrices_mmx);
    EXPECT_EQ(r.upsample_interlaced, upsample_chroma_interlaced_mmx);
    EXPECT_EQ(r.yuy2, pack_yuy2_422_mmx);
    EXPECT_EQ(r.yuy2_adjustment, adjust_yuy2_mmx);
}
#endif

TEST(RoutineSelection, FourFourFourStreamsNeitherUpsampleNorUseSimdConversions) {
    const ReconRoutines r = select(4, 1, 3);
    expect_complete(r);
    EXPECT_EQ(r.upsample_interlaced, upsample_chroma_none);
    EXPECT_EQ(r.upsample_progressive, upsample_chroma_none);
    EXPECT_EQ(r.rgb24, convert_rgb24_444);
    EXPECT_EQ(r.yuy2, pack_yuy2_444);
    EXPECT_EQ(select(0, 1, 2).upsample_progressive, upsample_chroma_none);
    EXPECT_EQ(select(0, 1, 2).rgb24, convert_rgb24_422);
}

TEST(RoutineSelection, RowTableForEveryOtherTransformNumber) {
    for (int i : {2, 3, 7, -1, 100}) EXPECT_EQ(select(0, i).idct, idct_row_table) << i;
}

}  // namespace
}  // namespace quarnel
