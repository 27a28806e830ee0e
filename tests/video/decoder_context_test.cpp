#include "video/decoder_context.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "support/video_es_writer.h"

namespace quarnel {
namespace {

using test::mpeg1_sequence;
using test::mpeg2_sequence;

std::array<std::int16_t, 64> matrix(const DecoderContext& context, QuantiserMatrixKind kind) {
    std::array<std::int16_t, 64> m{};
    std::copy_n(quantiser_matrix(context.quantiser_matrices, kind), 64, m.begin());
    return m;
}

TEST(ZigzagScan, VisitsEveryCoefficientOnceAlongTheAntiDiagonals) {
    std::array<bool, 64> seen{};
    for (std::size_t i = 0; i < 64; ++i) {
        seen[zigzag_scan[i]] = true;
        if (i == 0) continue;
        // Each step moves to a neighbouring anti-diagonal or along the same one.
        const int row = zigzag_scan[i] / 8, column = zigzag_scan[i] % 8;
        const int previous_row = zigzag_scan[i - 1] / 8, previous_column = zigzag_scan[i - 1] % 8;
        EXPECT_LE(std::abs((row + column) - (previous_row + previous_column)), 1) << i;
    }
    EXPECT_TRUE(std::ranges::all_of(seen, [](bool b) { return b; }));
}

TEST(DecoderContext, LoadedMatricesArriveInRasterOrderAndSeedTheChromaMatrices) {
    SequenceInfo s = mpeg2_sequence(720, 576);
    s.load_intra_quantiser_matrix = 1;
    s.load_non_intra_quantiser_matrix = 1;
    for (std::uint16_t i = 0; i < 64; ++i) {
        s.intra_quantiser_matrix[i] = static_cast<std::uint16_t>(i + 8);  // coded order
        s.non_intra_quantiser_matrix[i] = static_cast<std::uint16_t>(200 - i);
    }
    const DecoderContext context = make_decoder_context(s);

    const auto intra = matrix(context, QuantiserMatrixKind::intra);
    const auto non_intra = matrix(context, QuantiserMatrixKind::non_intra);
    EXPECT_EQ(intra[0], 8);
    EXPECT_EQ(intra[1], 9);   // second coded value: first row, second column
    EXPECT_EQ(intra[8], 10);  // third: second row, first column
    EXPECT_EQ(intra[16], 11);
    EXPECT_EQ(intra[63], 71);
    EXPECT_EQ(non_intra[8], 198);
    EXPECT_EQ(matrix(context, QuantiserMatrixKind::chroma_intra), intra);
    EXPECT_EQ(matrix(context, QuantiserMatrixKind::chroma_non_intra), non_intra);
}

TEST(DecoderContext, MatricesNotLoadedTakeTheStandardDefaults) {
    SequenceInfo s = mpeg2_sequence(720, 576);
    s.intra_quantiser_matrix.fill(99);  // stale values of a header that loads nothing
    const DecoderContext context = make_decoder_context(s);

    const auto intra = matrix(context, QuantiserMatrixKind::intra);
    EXPECT_TRUE(std::ranges::equal(intra, default_intra_quantiser_matrix));
    EXPECT_EQ(intra[7], 34);
    EXPECT_EQ(intra[63], 83);
    const auto non_intra = matrix(context, QuantiserMatrixKind::chroma_non_intra);
    EXPECT_TRUE(std::ranges::all_of(non_intra, [](std::int16_t v) { return v == 16; }));
}

TEST(DecoderContext, Mpeg1StreamsAre420WithoutScalability) {
    SequenceInfo s = mpeg1_sequence(352, 288);
    s.chroma_format = 2;  // a stale MPEG-2 word must not count
    s.coded_height = 288;
    const DecoderContext context = make_decoder_context(s);
    EXPECT_EQ(context.mpeg1, 1);
    EXPECT_EQ(context.chroma_format, 1);
    EXPECT_EQ(context.scalable_mode, -1);
    EXPECT_EQ(context.coded_height, 288);
}

TEST(DecoderContext, Mpeg2StreamsKeepTheirChromaFormatAndScalableMode) {
    SequenceInfo s = mpeg2_sequence(1920, 1080);
    s.chroma_format = 2;
    s.coded_height = 1088;
    s.sequence_scalable_extension_present = 1;
    s.scalable_mode = 0;  // data partitioning
    const DecoderContext context = make_decoder_context(s);
    EXPECT_EQ(context.mpeg1, 0);
    EXPECT_EQ(context.chroma_format, 2);
    EXPECT_EQ(context.scalable_mode, 0);
    EXPECT_EQ(context.coded_height, 1088);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(context.quantiser_matrices.data()) % 16, 0u);
}

}  // namespace
}  // namespace quarnel
