#include "base/start_code.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace quarnel {

namespace {

#if defined(__SSE2__) || defined(_M_X64)
// 32 candidate positions and the two bytes after the last one.
constexpr std::ptrdiff_t block_span = 34;

// The first prefix among the 32 positions from p whose bits are set in `wanted`. It looks
// for two zero bytes in a row, which coded pictures rarely hold anywhere but in a prefix,
// and checks the byte after each pair it finds.
inline const std::uint8_t* prefix_in_block(const std::uint8_t* p, std::uint32_t wanted) {
    const __m128i zero = _mm_setzero_si128();
    const auto zeros = [p, zero](int offset) {
        return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + offset)), zero);
    };
    const __m128i low = _mm_and_si128(zeros(0), zeros(1));
    const __m128i high = _mm_and_si128(zeros(16), zeros(17));
    if (_mm_movemask_epi8(_mm_or_si128(low, high)) == 0) return nullptr;
    // Bit i: the bytes at p + i and p + i + 1 are zero.
    auto pairs = (static_cast<std::uint32_t>(_mm_movemask_epi8(low)) |
                  static_cast<std::uint32_t>(_mm_movemask_epi8(high)) << 16) &
                 wanted;
    for (; pairs != 0; pairs &= pairs - 1) {
        const std::uint8_t* const candidate = p + std::countr_zero(pairs);
        if (candidate[2] == 0x01) return candidate;
    }
    return nullptr;
}

// For ranges of at least block_span bytes.
const std::uint8_t* find_start_code_sse2(const std::uint8_t* p, const std::uint8_t* end) {
    const std::uint8_t* const last = end - block_span;
    for (; p <= last; p += 32) {
        if (const std::uint8_t* hit = prefix_in_block(p, ~std::uint32_t{0})) return hit;
    }
    if (end - p < 3) return nullptr;
    // The last block overlaps the one before; only its positions from p on are new.
    return prefix_in_block(last, ~std::uint32_t{0} << (p - last));
}
#endif

// Hunts for the 0x01 with memchr (vectorised in the C library) and looks back for the two
// zeros. A 0x01 at p that is not a prefix's last byte rules out p + 1 and p + 2 too, since
// either would need p itself to be a zero.
const std::uint8_t* find_start_code_memchr(const std::uint8_t* from, const std::uint8_t* end) {
    if (end - from < 3) return nullptr;
    const std::uint8_t* p = from + 2;
    while (p < end) {
        p = static_cast<const std::uint8_t*>(
            std::memchr(p, 0x01, static_cast<std::size_t>(end - p)));
        if (p == nullptr) return nullptr;
        if (p[-1] == 0 && p[-2] == 0) return p - 2;
        p += 3;
    }
    return nullptr;
}

}  // namespace

const std::uint8_t* find_start_code(const std::uint8_t* from, const std::uint8_t* end) {
#if defined(__SSE2__) || defined(_M_X64)
    if (end - from >= block_span) return find_start_code_sse2(from, end);
#endif
    return find_start_code_memchr(from, end);
}

const std::uint8_t* find_start_code_backward(const std::uint8_t* from, const std::uint8_t* start) {
    // Offsets from `start` keep every comparison inside the searched range.
    std::ptrdiff_t at = from - start;
    while (at - 2 >= 0) {
        if (start[at - 2] == 0 && start[at - 1] == 0 && start[at] == 1) return start + at - 2;
        if (at - 3 < 0) return nullptr;
        const std::uint8_t before = start[at - 3];
        at -= before == 0x00 ? 1 : before == 0x01 ? 3 : 4;
    }
    return nullptr;
}

}  // namespace quarnel
