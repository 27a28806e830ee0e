#include "recon/block_decoding.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>

namespace quarnel {
namespace {

MacroblockBlocks run_setup(bool mpeg1, int chroma_format, bool intra, bool coded) {
    MacroblockBlocks blocks;
    macroblock_setups()[4 * macroblock_setup_group(mpeg1, chroma_format) +
                        macroblock_setup_entry(intra, coded)](blocks);
    return blocks;
}

TEST(MacroblockSetup, BlockCountFollowsTheChromaFormatOnlyForMpeg2) {
    EXPECT_EQ(run_setup(false, 1, true, true).count, 6);
    EXPECT_EQ(run_setup(false, 2, true, true).count, 8);
    EXPECT_EQ(run_setup(false, 3, false, true).count, 12);
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(run_setup(true, c, true, true).count, 6);
}

TEST(MacroblockSetup, EntriesChooseTheCoefficientDecoders) {
    using enum CoefficientDecoding;
    const MacroblockBlocks intra = run_setup(false, 2, true, true);
    EXPECT_EQ(intra.decoding[3], mpeg2_intra_luma);
    EXPECT_EQ(intra.decoding[4], mpeg2_intra_chroma);
    EXPECT_EQ(intra.decoding[7], mpeg2_intra_chroma);
    EXPECT_EQ(intra.decoding[8], none);
    EXPECT_EQ(run_setup(false, 1, false, true).decoding[5], mpeg2_non_intra);
    EXPECT_EQ(run_setup(false, 1, false, false).decoding[0], none);
    EXPECT_EQ(run_setup(true, 1, true, true).decoding[0], mpeg1_intra_luma);
    EXPECT_EQ(run_setup(true, 1, false, true).decoding[5], mpeg1_non_intra);
    // both intra entries of a group are the same set-up
    EXPECT_EQ(macroblock_setups()[2], macroblock_setups()[3]);
}

// Reads the size code at the top of `bits` through the lookup of `lookup_bits` bits.
template <typename Table>
DcSizeCode look_up(const Table& table, int lookup_bits, const std::string& code) {
    int index = 0;
    for (char c : code) index = 2 * index + (c == '1');
    return table[static_cast<std::size_t>(index << (lookup_bits - static_cast<int>(code.size())))];
}

TEST(DcSizeLookup, DecodesEveryCodeOfBothTables) {
    const std::string luma[] = {"100",   "00",     "01",      "101",      "110",       "1110",
                                "11110", "111110", "1111110", "11111110", "111111110", "111111111"};
    const std::string chroma[] = {"00",       "01",        "10",         "110",
                                  "1110",     "11110",     "111110",     "1111110",
                                  "11111110", "111111110", "1111111110", "1111111111"};
    for (int size = 0; size < 12; ++size) {
        const DcSizeCode l = look_up(luma_dc_size_lookup(), luma_dc_lookup_bits, luma[size]);
        EXPECT_EQ(l.size, size);
        EXPECT_EQ(l.length, luma[size].size());
        const DcSizeCode c = look_up(chroma_dc_size_lookup(), chroma_dc_lookup_bits, chroma[size]);
        EXPECT_EQ(c.size, size);
        EXPECT_EQ(c.length, chroma[size].size());
    }
}

TEST(DcDifferential, LeadingZeroMeansNegativeAndScaleFollowsThePrecision) {
    EXPECT_EQ(dc_differential(0, 0), 0);
    EXPECT_EQ(dc_differential(1, 0), -1);
    EXPECT_EQ(dc_differential(1, 1), 1);
    EXPECT_EQ(dc_differential(3, 0b000), -7);
    EXPECT_EQ(dc_differential(3, 0b011), -4);
    EXPECT_EQ(dc_differential(3, 0b100), 4);
    EXPECT_EQ(dc_differential(11, 0), -2047);
    EXPECT_EQ(dc_differential(40, 0xFFFFFFFF), 0);  // not a size any code gives
    EXPECT_EQ(intra_dc_multiplier(false, 0), 8);
    EXPECT_EQ(intra_dc_multiplier(false, 3), 1);
    EXPECT_EQ(intra_dc_multiplier(true, 3), 8);
}

TEST(CoefficientChecks, SaturationMismatchAndRunLimits) {
    EXPECT_EQ(saturate_coefficient(5000), 2047);
    EXPECT_EQ(saturate_coefficient(-5000), -2048);
    EXPECT_EQ(saturate_coefficient(-7), -7);

    std::int16_t block[64] = {};
    block[0] = 8;
    mismatch_control(block);  // even sum: last coefficient becomes odd
    EXPECT_EQ(block[63], 1);
    mismatch_control(block);  // odd sum now: unchanged
    EXPECT_EQ(block[63], 1);
    block[63] = -4;
    block[0] = 9;  // 9 - 4 is odd
    mismatch_control(block);
    EXPECT_EQ(block[63], -4);
    block[0] = 10;
    mismatch_control(block);
    EXPECT_EQ(block[63], -3);
    EXPECT_EQ(std::accumulate(block, block + 64, 0) % 2, 1);

    EXPECT_EQ(advance_run(0, 63), 63);
    EXPECT_EQ(advance_run(60, 4), std::nullopt);
    EXPECT_EQ(advance_run(60, 2147483647), std::nullopt);
}

}  // namespace
}  // namespace quarnel
