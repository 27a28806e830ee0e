#include "recon/clamp_tables.h"
#include "recon/idct.h"
#include "recon/idct_tables.h"

#include <algorithm>

namespace quarnel {
namespace {

// The row pass keeps 4 extra bits of precision; the column pass removes them and the 2^13
// constant scale and the 8 of the two-dimensional transform.
constexpr int pass1_bits = 4;
constexpr int row_shift = llm_const_bits - pass1_bits;
constexpr int column_shift = llm_const_bits + pass1_bits + 3;

bool only_first_nonzero(const std::array<std::int64_t, 8>& v) {
    return std::all_of(v.begin() + 1, v.end(), [](std::int64_t x) { return x == 0; });
}

}  // namespace

void idct_integer(std::int16_t* block) {
    // 64-bit sums: coefficients far outside the decoder's -2048 .. 2047 cannot overflow.
    std::int64_t rows[64];
    for (int r = 0; r < 8; ++r) {
        std::array<std::int64_t, 8> in{};
        for (int u = 0; u < 8; ++u) in[u] = block[8 * r + u];
        if (only_first_nonzero(in)) {  // a flat row needs no multiplies
            std::fill_n(rows + 8 * r, 8, in[0] * (1 << pass1_bits));
            continue;
        }
        const auto sums = llm_sums(llm_constants, in);
        for (int n = 0; n < 8; ++n)
            rows[8 * r + n] = (sums[n] + (std::int64_t{1} << (row_shift - 1))) >> row_shift;
    }
    for (int c = 0; c < 8; ++c) {
        std::array<std::int64_t, 8> in{};
        for (int v = 0; v < 8; ++v) in[v] = rows[8 * v + c];
        std::array<std::int64_t, 8> out{};
        if (only_first_nonzero(in)) {
            // The same rounding the full graph applies to a lone first entry, for either sign.
            out.fill((in[0] + (1 << (pass1_bits + 2))) >> (pass1_bits + 3));
        } else {
            const auto sums = llm_sums(llm_constants, in);
            for (int n = 0; n < 8; ++n)
                out[n] = (sums[n] + (std::int64_t{1} << (column_shift - 1))) >> column_shift;
        }
        for (int n = 0; n < 8; ++n)
            block[8 * n + c] =
                clamp_sample(static_cast<int>(std::clamp<std::int64_t>(out[n], -512, 511)));
    }
}

}  // namespace quarnel
