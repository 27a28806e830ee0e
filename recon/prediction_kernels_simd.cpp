#include "recon/prediction.h"

#if QUARNEL_RECON_MMX
#include "recon/pixels_simd.h"

#include <utility>

namespace quarnel {
namespace {

using simd::kernel_averaged;
using simd::kernel_widened;

template <class S, std::size_t... I>
constexpr KernelTable widened_table(std::index_sequence<I...>) {
    return {kernel_widened < S, (I & 8) ? 16 : 8, (I & 4) != 0, (I & 2) != 0, (I & 1) != 0 > ...};
}

constexpr KernelTable mmx_table = widened_table<simd::Mmx>(std::make_index_sequence<16>{});

// Byte averaging for the entries of width W whose rounding it reproduces: full-pel average
// and the one-direction half-pel entries.
template <class S, int W>
constexpr void use_averaging(KernelTable& t) {
    constexpr bool wide = W == 16;
    t[kernel_index(wide, false, false, false)] = kernel_averaged<S, W, false, false, false>;
    t[kernel_index(wide, true, false, false)] = kernel_averaged<S, W, true, false, false>;
    t[kernel_index(wide, true, false, true)] = kernel_averaged<S, W, true, false, true>;
    t[kernel_index(wide, false, true, false)] = kernel_averaged<S, W, false, true, false>;
    t[kernel_index(wide, false, true, true)] = kernel_averaged<S, W, false, true, true>;
}

#if QUARNEL_RECON_SSE
constexpr KernelTable sse_table = [] {
    KernelTable t = mmx_table;
    use_averaging<simd::SseM64, 8>(t);
    use_averaging<simd::SseM64, 16>(t);
    return t;
}();
#endif

#if QUARNEL_RECON_SSE2
constexpr KernelTable sse2_table = [] {
    KernelTable t = sse_table;
    use_averaging<simd::Sse2, 16>(t);
    t[kernel_index(true, true, true, false)] = kernel_widened<simd::Sse2, 16, true, true, false>;
    t[kernel_index(true, true, true, true)] = kernel_widened<simd::Sse2, 16, true, true, true>;
    return t;
}();
#endif

}  // namespace

const KernelTable& mmx_kernels() {
    return mmx_table;
}
#if QUARNEL_RECON_SSE
const KernelTable& sse_kernels() {
    return sse_table;
}
#endif
#if QUARNEL_RECON_SSE2
const KernelTable& sse2_kernels() {
    return sse2_table;
}
#endif

}  // namespace quarnel
#endif
