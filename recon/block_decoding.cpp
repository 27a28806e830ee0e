#include "recon/block_decoding.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace quarnel {
namespace {

template <int Count, CoefficientDecoding Luma, CoefficientDecoding Chroma>
void setup(MacroblockBlocks& blocks) {
    blocks.count = Count;
    blocks.decoding.fill(CoefficientDecoding::none);
    for (int b = 0; b < Count; ++b) blocks.decoding[b] = b < 4 ? Luma : Chroma;
}

using enum CoefficientDecoding;

template <int Count, CoefficientDecoding NonIntra, CoefficientDecoding IntraLuma,
          CoefficientDecoding IntraChroma>
constexpr std::array<MacroblockSetup, 4> group() {
    return {setup<Count, none, none>, setup<Count, NonIntra, NonIntra>,
            setup<Count, IntraLuma, IntraChroma>, setup<Count, IntraLuma, IntraChroma>};
}

constexpr std::array<MacroblockSetup, 24> setups = [] {
    const std::array<std::array<MacroblockSetup, 4>, macroblock_setup_groups> groups{
        group<6, mpeg2_non_intra, mpeg2_intra_luma, mpeg2_intra_chroma>(),
        group<8, mpeg2_non_intra, mpeg2_intra_luma, mpeg2_intra_chroma>(),
        group<12, mpeg2_non_intra, mpeg2_intra_luma, mpeg2_intra_chroma>(),
        group<6, mpeg1_non_intra, mpeg1_intra_luma, mpeg1_intra_chroma>(),
        group<6, mpeg1_non_intra, mpeg1_intra_luma, mpeg1_intra_chroma>(),
        group<6, mpeg1_non_intra, mpeg1_intra_luma, mpeg1_intra_chroma>()};
    std::array<MacroblockSetup, 24> all{};
    for (int g = 0; g < macroblock_setup_groups; ++g)
        for (int e = 0; e < 4; ++e) all[4 * g + e] = groups[g][e];
    return all;
}();

// The codes of dct_dc_size 0, 1, 2, ... in order.
constexpr std::array<std::string_view, 12> luma_dc_codes{
    "100",   "00",     "01",      "101",      "110",       "1110",
    "11110", "111110", "1111110", "11111110", "111111110", "111111111"};
constexpr std::array<std::string_view, 12> chroma_dc_codes{
    "00",     "01",      "10",       "110",       "1110",       "11110",
    "111110", "1111110", "11111110", "111111110", "1111111110", "1111111111"};

// Every index whose leading bits are a code maps to that code.
template <int Bits>
constexpr std::array<DcSizeCode, (1 << Bits)> make_lookup(
    const std::array<std::string_view, 12>& codes) {
    std::array<DcSizeCode, (1 << Bits)> table{};
    for (std::size_t size = 0; size < codes.size(); ++size) {
        const std::string_view code = codes[size];
        int prefix = 0;
        for (char c : code) prefix = 2 * prefix + (c == '1');
        const int free_bits = Bits - static_cast<int>(code.size());
        for (int rest = 0; rest < (1 << free_bits); ++rest)
            table[(prefix << free_bits) | rest] = {static_cast<std::uint8_t>(size),
                                                   static_cast<std::uint8_t>(code.size())};
    }
    return table;
}

constexpr auto luma_lookup = make_lookup<luma_dc_lookup_bits>(luma_dc_codes);
constexpr auto chroma_lookup = make_lookup<chroma_dc_lookup_bits>(chroma_dc_codes);

}  // namespace

const std::array<MacroblockSetup, 24>& macroblock_setups() {
    return setups;
}

int macroblock_setup_group(bool mpeg1, int chroma_format) {
    const int layout = (chroma_format >= 1 && chroma_format <= 3) ? chroma_format - 1 : 0;
    return mpeg1 ? 3 + layout : layout;
}

int macroblock_setup_entry(bool intra, bool coded) {
    return intra ? 2 : (coded ? 1 : 0);
}

const std::array<DcSizeCode, 512>& luma_dc_size_lookup() {
    return luma_lookup;
}
const std::array<DcSizeCode, 1024>& chroma_dc_size_lookup() {
    return chroma_lookup;
}

int dc_differential(int size, std::uint32_t bits) {
    if (size <= 0 || size > 11) return 0;  // no dct_dc_size code is longer
    const int value = static_cast<int>(bits & ((1u << size) - 1));
    const int half = 1 << (size - 1);
    return value >= half ? value : value - (2 * half - 1);
}

int intra_dc_multiplier(bool mpeg1, int intra_dc_precision) {
    if (mpeg1) return 8;
    return 1 << (3 - std::clamp(intra_dc_precision, 0, 3));
}

std::int16_t saturate_coefficient(int value) {
    return static_cast<std::int16_t>(std::clamp(value, -2048, 2047));
}

void mismatch_control(std::int16_t* block) {
    const int sum = std::accumulate(block, block + 64, 0);
    if ((sum & 1) == 0) block[63] = static_cast<std::int16_t>(block[63] ^ 1);
}

std::optional<int> advance_run(int position, int run) {
    if (position < 0 || run < 0 || run > 63 - position) return std::nullopt;
    return position + run;
}

}  // namespace quarnel
