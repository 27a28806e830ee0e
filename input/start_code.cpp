#include "input/start_code.h"

#include <array>
#include <cstring>

namespace quarnel {

const std::uint8_t* find_start_code(const std::uint8_t* from, const std::uint8_t* end) {
    if (end - from < 3) return nullptr;
    // Hunt for the 0x01 with memchr (vectorised in the C library) and look back for the
    // two zeros. A 0x01 at p that is not a prefix's last byte rules out p + 1 and p + 2
    // too, since either would need p itself to be a zero.
    const std::uint8_t* p = from + 2;
    while (p < end) {
        p = static_cast<const std::uint8_t*>(std::memchr(p, 0x01, static_cast<std::size_t>(end - p)));
        if (p == nullptr) return nullptr;
        if (p[-1] == 0 && p[-2] == 0) return p - 2;
        p += 3;
    }
    return nullptr;
}

namespace {
constexpr std::array<std::uint8_t, 256> make_skip_table() {
    std::array<std::uint8_t, 256> table{};
    for (auto& step : table) step = 4;
    table[0x00] = 2;
    table[0x01] = 1;
    return table;
}
constexpr auto skip_table = make_skip_table();
}  // namespace

const std::uint8_t* find_start_code_skip_table(const std::uint8_t* from, const std::uint8_t* end) {
    const std::ptrdiff_t length = end - from;
    std::ptrdiff_t p = 0;
    while (p + 2 < length) {
        if (from[p] == 0 && from[p + 1] == 0 && from[p + 2] == 1) return from + p;
        if (p + 3 >= length) return nullptr;
        p += skip_table[from[p + 3]];
    }
    return nullptr;
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
