#pragma once
// Fixed tables and small steps of block decoding (ISO/IEC 13818-2, 7.2 to 7.4;
// ISO/IEC 11172-2, 2.4.3.7): which coefficient decoder each block of a macroblock uses,
// the intra DC size codes, DC scaling, saturation and mismatch control.

#include <array>
#include <cstdint>
#include <optional>

namespace quarnel {

enum class CoefficientDecoding : std::uint8_t {
    none,  // block not coded
    mpeg2_intra_luma,
    mpeg2_intra_chroma,
    mpeg2_non_intra,
    mpeg1_intra_luma,
    mpeg1_intra_chroma,
    mpeg1_non_intra,
};

// What a macroblock set-up fills: the block count (6, 8 or 12) and each block's decoder.
struct MacroblockBlocks {
    int count = 0;
    std::array<CoefficientDecoding, 12> decoding{};
};

using MacroblockSetup = void (*)(MacroblockBlocks& blocks);

// 24 set-up routines in six groups of four: MPEG-2 4:2:0, 4:2:2, 4:4:4, then three MPEG-1
// groups (always the 4:2:0 layout). In a group: no coded blocks, coded non-intra blocks,
// intra, intra.
inline constexpr int macroblock_setup_groups = 6;
const std::array<MacroblockSetup, 24>& macroblock_setups();

// Group of a stream: MPEG-2 by chroma format (1 .. 3), MPEG-1 by the same rule in the second
// half of the table; a chroma format outside 1 .. 3 counts as 4:2:0.
int macroblock_setup_group(bool mpeg1, int chroma_format);
// Entry within a group.
int macroblock_setup_entry(bool intra, bool coded);

// Intra DC size codes (ISO/IEC 13818-2, Tables B-12 and B-13), looked up by the next 9
// (luma) or 10 (chroma) bits of the stream, most significant first.
struct DcSizeCode {
    std::uint8_t size;
    std::uint8_t length;  // 0 for a bit pattern no code begins
};
inline constexpr int luma_dc_lookup_bits = 9;
inline constexpr int chroma_dc_lookup_bits = 10;
const std::array<DcSizeCode, 512>& luma_dc_size_lookup();
const std::array<DcSizeCode, 1024>& chroma_dc_size_lookup();

// dct_dc_differential of `size` bits: values with a leading 0 bit are negative.
int dc_differential(int size, std::uint32_t bits);
// The DC differential's scale: 2^(3 - intra_dc_precision) for MPEG-2, 8 for MPEG-1.
int intra_dc_multiplier(bool mpeg1, int intra_dc_precision);

// Reconstructed coefficients are saturated to -2048 .. 2047.
std::int16_t saturate_coefficient(int value);

// ISO/IEC 13818-2, 7.4.4: when the sum of the coefficients is even, the lowest bit of
// coefficient 63 is toggled. MPEG-1 does not use it.
void mismatch_control(std::int16_t* block);

// Index of the next coefficient, `run` zeros on from `position`; none when it passes coefficient
// 63, which ends the block with an error.
std::optional<int> advance_run(int position, int run);

}  // namespace quarnel
