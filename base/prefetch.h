#pragma once
// A hint to bring bytes into the cache before they are used. The processor may ignore it,
// and it never faults.

#include <cstddef>

#if defined(_MSC_VER) && !defined(__clang__)
#include <xmmintrin.h>
#endif

namespace quarnel {

// The unit the cache fetches in, on the processors this is built for.
inline constexpr std::size_t cache_line_bytes = 64;

inline void prefetch(const void* address) {
#if defined(_MSC_VER) && !defined(__clang__)
    _mm_prefetch(static_cast<const char*>(address), _MM_HINT_T0);
#else
    __builtin_prefetch(address);
#endif
}

}  // namespace quarnel
