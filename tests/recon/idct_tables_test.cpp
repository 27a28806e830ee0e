#include "recon/idct_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace quarnel {
namespace {

const double pi = 4.0 * std::atan(1.0);

// Entry of a pair table for input u and even/odd part k, from the slot layout.
int entry(const PairTable& t, int u, int k) {
    for (int slot = 0; slot < 8; ++slot)
        if (pair_table_inputs[slot] == u) return t[8 * (slot / 2) + 2 * k + slot % 2];
    return 0;
}

TEST(RowTables, FollowTheScaledDctBasis) {
    for (int row = 0; row < 8; ++row) {
        const PairTable& t = row_tables[row_table_of_row[row]];
        const int r = row % 4 == 0 ? 4 : std::min(row, 8 - row);  // 0, 4 share the cos(pi/4) table
        const double scale = std::cos(r * pi / 16) / std::cos(pi / 4);
        for (int u = 0; u < 8; ++u)
            for (int k = 0; k < 4; ++k) {
                const double c =
                    (u == 0 ? 1 / std::sqrt(2.0) : 1.0) * std::cos((2 * k + 1) * u * pi / 16);
                EXPECT_NEAR(entry(t, u, k), 16384 * std::sqrt(2.0) * scale * c, 0.5)
                    << row << " " << u << " " << k;
            }
    }
}

// The flow graph's pair table is the 8-point inverse DCT x sqrt 8 in 13-bit fixed point; the
// rounded constants of the MMX set stay within a few units of it.
TEST(LlmPairTable, MatchesTheScaledDctBasis) {
    for (const LlmConstants& k : {llm_constants, llm_constants_mmx}) {
        const PairTable t = llm_pair_table(k);
        for (int u = 0; u < 8; ++u)
            for (int n = 0; n < 4; ++n) {
                const double c =
                    (u == 0 ? 1 / std::sqrt(2.0) : 1.0) * std::cos((2 * n + 1) * u * pi / 16);
                EXPECT_NEAR(entry(t, u, n), 8192 * std::sqrt(2.0) * c, 3) << u << " " << n;
            }
    }
    EXPECT_EQ(entry(llm_pair_table(llm_constants), 0, 2), 8192);
}

}  // namespace
}  // namespace quarnel
