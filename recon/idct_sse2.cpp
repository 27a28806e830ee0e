#include "recon/idct.h"

#if QUARNEL_RECON_SSE2
#include "recon/idct_simd.h"

namespace quarnel {

void idct_row_table_sse2(std::int16_t* block) {
    simd::row_table_idct<simd::Sse2>(block);
}

}  // namespace quarnel
#endif
