#pragma once
// Constants shared by the portable and SIMD members of the integer and row-table inverse
// DCTs.

#include <array>
#include <cstdint>

namespace quarnel {

// 13-bit constants of the Loeffler-Ligtenberg-Moschytz flow graph, named after the values
// they stand for (x 8192).
struct LlmConstants {
    std::int32_t c0_298, c0_390, c0_541, c0_765, c0_899, c1_175, c1_501, c1_847, c1_961, c2_053,
        c2_562, c3_072;
};

inline constexpr LlmConstants llm_constants{2446,  3196,  4433,  6270,  7373,  9633,
                                            12299, 15137, 16069, 16819, 20995, 25172};
// The MMX member rounds five of them down.
inline constexpr LlmConstants llm_constants_mmx{2446,  3196,  4433,  6269,  7372,  9633,
                                                12298, 15136, 16069, 16819, 20995, 25171};

inline constexpr int llm_const_bits = 13;

// The eight outputs of the flow graph for one row or column, scaled by 2^13 and not yet
// rounded. The graph is linear in exact integer arithmetic, so every output is a fixed
// integer combination of the inputs.
template <typename Int>
constexpr std::array<Int, 8> llm_sums(const LlmConstants& k, const std::array<Int, 8>& in) {
    // even part
    Int z1 = (in[2] + in[6]) * k.c0_541;
    const Int tmp2e = z1 - in[6] * k.c1_847;
    const Int tmp3e = z1 + in[2] * k.c0_765;
    const Int tmp0e = (in[0] + in[4]) * (Int{1} << llm_const_bits);
    const Int tmp1e = (in[0] - in[4]) * (Int{1} << llm_const_bits);
    const Int tmp10 = tmp0e + tmp3e, tmp13 = tmp0e - tmp3e;
    const Int tmp11 = tmp1e + tmp2e, tmp12 = tmp1e - tmp2e;

    // odd part
    Int t0 = in[7], t1 = in[5], t2 = in[3], t3 = in[1];
    z1 = t0 + t3;
    Int z2 = t1 + t2, z3 = t0 + t2, z4 = t1 + t3;
    const Int z5 = (z3 + z4) * k.c1_175;
    t0 *= k.c0_298;
    t1 *= k.c2_053;
    t2 *= k.c3_072;
    t3 *= k.c1_501;
    z1 *= -k.c0_899;
    z2 *= -k.c2_562;
    z3 = z3 * -k.c1_961 + z5;
    z4 = z4 * -k.c0_390 + z5;
    t0 += z1 + z3;
    t1 += z2 + z4;
    t2 += z2 + z3;
    t3 += z1 + z4;

    return {tmp10 + t3, tmp11 + t2, tmp12 + t1, tmp13 + t0,
            tmp13 - t0, tmp12 - t1, tmp11 - t2, tmp10 - t3};
}

// A 1-D transform as multipliers for pairs of inputs, in the order the SIMD row passes use:
// for k = 0 .. 3, entries 2k, 2k+1 weigh (x0, x2) in even part a_k; 8+2k, 9+2k weigh
// (x4, x6); 16+2k, 17+2k weigh (x1, x3) in odd part b_k; 24+2k, 25+2k weigh (x5, x7).
// Output k is a_k + b_k and output 7 - k is a_k - b_k.
using PairTable = std::array<std::int16_t, 32>;

inline constexpr std::array<int, 8> pair_table_inputs{0, 2, 4, 6, 1, 3, 5, 7};

// The flow graph written as a pair table: its response to each unit input.
constexpr PairTable llm_pair_table(const LlmConstants& k) {
    PairTable t{};
    for (int slot = 0; slot < 8; ++slot) {
        std::array<std::int32_t, 8> unit{};
        unit[pair_table_inputs[slot]] = 1;
        const auto out = llm_sums(k, unit);
        for (int n = 0; n < 4; ++n)
            t[8 * (slot / 2) + 2 * n + slot % 2] = static_cast<std::int16_t>(out[n]);
    }
    return t;
}

// AP-922 row tables: 2^14 x sqrt 2 x k(u) cos((2n + 1) u pi / 16), scaled for rows 1 and 7,
// 2 and 6, 3 and 5 by cos(r pi / 16) / cos(pi / 4) so that the column pass needs only
// tangent multipliers.
// clang-format off
inline constexpr std::array<PairTable, 4> row_tables{{
    {  // rows 0 and 4
      16384,  21407,  16384,   8867,  16384,  -8867,  16384, -21407,
      16384,   8867, -16384, -21407, -16384,  21407,  16384,  -8867,
      22725,  19266,  19266,  -4520,  12873, -22725,   4520, -12873,
      12873,   4520, -22725, -12873,   4520,  19266,  19266, -22725},
    {  // rows 1 and 7
      22725,  29692,  22725,  12299,  22725, -12299,  22725, -29692,
      22725,  12299, -22725, -29692, -22725,  29692,  22725, -12299,
      31521,  26722,  26722,  -6270,  17855, -31521,   6270, -17855,
      17855,   6270, -31521, -17855,   6270,  26722,  26722, -31521},
    {  // rows 2 and 6
      21407,  27969,  21407,  11585,  21407, -11585,  21407, -27969,
      21407,  11585, -21407, -27969, -21407,  27969,  21407, -11585,
      29692,  25172,  25172,  -5906,  16819, -29692,   5906, -16819,
      16819,   5906, -29692, -16819,   5906,  25172,  25172, -29692},
    {  // rows 3 and 5
      19266,  25172,  19266,  10426,  19266, -10426,  19266, -25172,
      19266,  10426, -19266, -25172, -19266,  25172,  19266, -10426,
      26722,  22654,  22654,  -5315,  15137, -26722,   5315, -15137,
      15137,   5315, -26722, -15137,   5315,  22654,  22654, -26722},
}};
// clang-format on
inline constexpr std::array<int, 8> row_table_of_row{0, 1, 2, 3, 0, 3, 2, 1};
inline constexpr int row_table_round = 1024;
inline constexpr int row_table_shift = 11;

// Column multipliers, x 65536: tan(pi/16), tan(2 pi/16), tan(3 pi/16), cos(pi/4).
inline constexpr int tan1_16 = 13036;
inline constexpr int tan2_16 = 27146;
inline constexpr int tan3_16 = 43790;
inline constexpr int cos4_16 = 46341;
// Column rounding per output row; the shift is 6.
inline constexpr std::array<int, 8> column_round{33, 32, 31, 31, 31, 31, 32, 31};

}  // namespace quarnel
