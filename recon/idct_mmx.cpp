#include "recon/idct.h"

#if QUARNEL_RECON_MMX
#include "recon/idct_simd.h"

namespace quarnel {
namespace {

// The 16-bit row results keep 2 extra bits (not 4 as the portable member does), so rows of
// large coefficients still fit a register word.
constexpr int mmx_pass1_bits = 2;
constexpr PairTable mmx_llm_table = llm_pair_table(llm_constants_mmx);

}  // namespace

void idct_integer_mmx(std::int16_t* block) {
    std::array<const PairTable*, 8> tables{};
    tables.fill(&mmx_llm_table);
    constexpr int row_shift = llm_const_bits - mmx_pass1_bits;
    constexpr int column_shift = llm_const_bits + mmx_pass1_bits + 3;
    simd::row_pass<simd::Mmx>(block, tables, 1 << (row_shift - 1), row_shift);
    simd::pair_column_pass<simd::Mmx>(block, mmx_llm_table, 1 << (column_shift - 1), column_shift);
    simd::Mmx::finish();
}

void idct_row_table_mmx(std::int16_t* block) {
    simd::row_table_idct<simd::Mmx>(block);
}

}  // namespace quarnel
#endif
