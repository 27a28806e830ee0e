#include "recon/idct.h"
#include "recon/idct_tables.h"

#include <algorithm>

namespace quarnel {
namespace {

std::int16_t saturate16(std::int64_t v) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(v, -32768, 32767));
}

void row_pass(std::int16_t* row, const PairTable& t) {
    std::int64_t x[8];
    for (int slot = 0; slot < 8; ++slot) x[slot] = row[pair_table_inputs[slot]];
    for (int k = 0; k < 4; ++k) {
        const std::int64_t a =
            x[0] * t[2 * k] + x[1] * t[2 * k + 1] + x[2] * t[8 + 2 * k] + x[3] * t[9 + 2 * k];
        const std::int64_t b = x[4] * t[16 + 2 * k] + x[5] * t[17 + 2 * k] + x[6] * t[24 + 2 * k] +
                               x[7] * t[25 + 2 * k];
        row[k] = saturate16((a + b + row_table_round) >> row_table_shift);
        row[7 - k] = saturate16((a - b + row_table_round) >> row_table_shift);
    }
}

// (v x k) >> 16 with the floor rounding of a 16-bit multiply-high.
std::int64_t mul_high(std::int64_t v, int k) {
    return (v * k) >> 16;
}

// cos(pi/4) with the low bit forced on, which halves the bias of the truncation.
std::int64_t mul_cos4(std::int64_t v) {
    return ((v * cos4_16) | 65536) >> 16;
}

void column_pass(std::int16_t* block, int c) {
    std::int64_t x[8];
    for (int n = 0; n < 8; ++n) x[n] = block[8 * n + c];
    const std::int64_t tp17 = x[1] + mul_high(x[7], tan1_16), tm17 = mul_high(x[1], tan1_16) - x[7];
    const std::int64_t tp35 = x[3] + mul_high(x[5], tan3_16), tm35 = mul_high(x[3], tan3_16) - x[5];
    const std::int64_t tp26 = x[2] + mul_high(x[6], tan2_16), tm26 = mul_high(x[2], tan2_16) - x[6];
    const std::int64_t tp04 = x[0] + x[4], tm04 = x[0] - x[4];
    const std::int64_t b0 = tp17 + tp35, b3 = tm17 - tm35;
    const std::int64_t u = tp17 - tp35, v = tm17 + tm35;
    const std::int64_t b1 = mul_cos4(u + v), b2 = mul_cos4(u - v);
    const std::int64_t a0 = tp04 + tp26, a3 = tp04 - tp26, a1 = tm04 + tm26, a2 = tm04 - tm26;
    const std::int64_t y[8] = {a0 + b0, a1 + b1, a2 + b2, a3 + b3,
                               a3 - b3, a2 - b2, a1 - b1, a0 - b0};
    for (int n = 0; n < 8; ++n)
        block[8 * n + c] = static_cast<std::int16_t>(saturate16(y[n] + column_round[n]) >> 6);
}

}  // namespace

void idct_row_table(std::int16_t* block) {
    for (int r = 0; r < 8; ++r) row_pass(block + 8 * r, row_tables[row_table_of_row[r]]);
    for (int c = 0; c < 8; ++c) column_pass(block, c);
}

}  // namespace quarnel
