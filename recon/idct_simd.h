#pragma once
// The passes of the SIMD inverse DCTs, written once over the register wrappers of
// simd_vector.h. Included only by the per-instruction-set source files.

#include "recon/idct_tables.h"
#include "recon/simd_vector.h"

#include <array>
#include <cstdint>

namespace quarnel::simd {

template <class S>
constexpr int words = S::bytes / 2;

// Rows by a pair table: four pair broadcasts of the row, multiply-add against the table,
// then (sum + round) >> shift, saturated to 16 bits. `tables` gives the table of each row.
template <class S>
void row_pass(std::int16_t* block, const std::array<const PairTable*, 8>& tables, int round,
              int shift) {
    using V = typename S::V;
    constexpr int groups = 4 * 4 / S::bytes;  // dword vectors per half of the outputs
    constexpr int step = S::bytes / 2;        // table words per group
    const V rounding = S::set32(round);
    for (int r = 0; r < 8; ++r) {
        std::int16_t* row = block + 8 * r;
        const std::int16_t* t = tables[r]->data();
        V pairs[4];
        S::row_pairs(row, pairs);
        V lo[groups], hi[groups];
        for (int g = 0; g < groups; ++g) {
            const V a = S::add32(S::madd(pairs[0], S::load(t + step * g)),
                                 S::madd(pairs[1], S::load(t + 8 + step * g)));
            const V b = S::add32(S::madd(pairs[2], S::load(t + 16 + step * g)),
                                 S::madd(pairs[3], S::load(t + 24 + step * g)));
            lo[g] = S::srai32(S::add32(S::add32(a, b), rounding), shift);
            hi[g] = S::reverse32(S::srai32(S::add32(S::sub32(a, b), rounding), shift));
        }
        // outputs 0 .. 3 from lo in order, outputs 4 .. 7 from hi in reverse
        V out[2 * groups];
        for (int g = 0; g < groups; ++g) {
            out[g] = lo[g];
            out[groups + g] = hi[groups - 1 - g];
        }
        for (int w = 0; w < groups; ++w)
            S::store(row + words<S> * w, S::packs32(out[2 * w], out[2 * w + 1]));
    }
}

// (v x k) >> 16 for a multiplier k in 0 .. 65535: above 32767 the signed multiply-high sees
// k - 65536, which the added v makes up for.
template <class S>
typename S::V mul_high(typename S::V v, int k) {
    if (k < 32768) return S::mulhi16(v, S::set16(k));
    return S::add16(S::mulhi16(v, S::set16(k - 65536)), v);
}

// Columns by tangent butterflies, `words` columns at a time.
template <class S>
void tangent_column_pass(std::int16_t* block) {
    using V = typename S::V;
    for (int c = 0; c < 8; c += words<S>) {
        V x[8];
        for (int n = 0; n < 8; ++n) x[n] = S::load(block + 8 * n + c);
        const V tp17 = S::adds16(x[1], mul_high<S>(x[7], tan1_16));
        const V tm17 = S::subs16(mul_high<S>(x[1], tan1_16), x[7]);
        const V tp35 = S::adds16(x[3], mul_high<S>(x[5], tan3_16));
        const V tm35 = S::subs16(mul_high<S>(x[3], tan3_16), x[5]);
        const V tp26 = S::adds16(x[2], mul_high<S>(x[6], tan2_16));
        const V tm26 = S::subs16(mul_high<S>(x[2], tan2_16), x[6]);
        const V tp04 = S::adds16(x[0], x[4]), tm04 = S::subs16(x[0], x[4]);
        const V b0 = S::adds16(tp17, tp35), b3 = S::subs16(tm17, tm35);
        const V u = S::subs16(tp17, tp35), v = S::adds16(tm17, tm35);
        const V one = S::set16(1);
        const V b1 = S::or_(mul_high<S>(S::adds16(u, v), cos4_16), one);
        const V b2 = S::or_(mul_high<S>(S::subs16(u, v), cos4_16), one);
        const V a0 = S::adds16(tp04, tp26), a3 = S::subs16(tp04, tp26);
        const V a1 = S::adds16(tm04, tm26), a2 = S::subs16(tm04, tm26);
        const V y[8] = {S::adds16(a0, b0), S::adds16(a1, b1), S::adds16(a2, b2), S::adds16(a3, b3),
                        S::subs16(a3, b3), S::subs16(a2, b2), S::subs16(a1, b1), S::subs16(a0, b0)};
        for (int n = 0; n < 8; ++n)
            S::store(block + 8 * n + c, S::srai16(S::adds16(y[n], S::set16(column_round[n])), 6));
    }
}

// Columns by a pair table: rows interleaved two by two so that a multiply-add weighs a pair
// of vertically adjacent entries; (sum + round) >> shift, clamped to -256 .. 255.
template <class S>
void pair_column_pass(std::int16_t* block, const PairTable& t, int round, int shift) {
    using V = typename S::V;
    const V rounding = S::set32(round);
    auto pair = [&t](int i) {
        return S::set32(static_cast<std::uint16_t>(t[i]) |
                        (static_cast<std::int32_t>(t[i + 1]) << 16));
    };
    for (int c = 0; c < 8; c += words<S>) {
        V x[8];
        for (int n = 0; n < 8; ++n) x[n] = S::load(block + 8 * n + c);
        // even inputs (0, 2), (4, 6) and odd inputs (1, 3), (5, 7), low and high columns
        const V in[2][4] = {{S::unpacklo16(x[0], x[2]), S::unpacklo16(x[4], x[6]),
                             S::unpacklo16(x[1], x[3]), S::unpacklo16(x[5], x[7])},
                            {S::unpackhi16(x[0], x[2]), S::unpackhi16(x[4], x[6]),
                             S::unpackhi16(x[1], x[3]), S::unpackhi16(x[5], x[7])}};
        for (int k = 0; k < 4; ++k) {
            V sum[2], difference[2];
            for (int h = 0; h < 2; ++h) {
                const V a =
                    S::add32(S::madd(in[h][0], pair(2 * k)), S::madd(in[h][1], pair(8 + 2 * k)));
                const V b = S::add32(S::madd(in[h][2], pair(16 + 2 * k)),
                                     S::madd(in[h][3], pair(24 + 2 * k)));
                sum[h] = S::srai32(S::add32(S::add32(a, b), rounding), shift);
                difference[h] = S::srai32(S::add32(S::sub32(a, b), rounding), shift);
            }
            S::store(block + 8 * k + c, S::clamp16(S::packs32(sum[0], sum[1]), -256, 255));
            S::store(block + 8 * (7 - k) + c,
                     S::clamp16(S::packs32(difference[0], difference[1]), -256, 255));
        }
    }
}

inline std::array<const PairTable*, 8> row_table_per_row() {
    std::array<const PairTable*, 8> t{};
    for (int r = 0; r < 8; ++r) t[r] = &row_tables[row_table_of_row[r]];
    return t;
}

template <class S>
void row_table_idct(std::int16_t* block) {
    row_pass<S>(block, row_table_per_row(), row_table_round, row_table_shift);
    tangent_column_pass<S>(block);
    S::finish();
}

}  // namespace quarnel::simd
