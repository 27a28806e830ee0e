#include "support/start_code_skip_table.h"

#include <array>
#include <cstddef>

namespace quarnel::test {

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

}  // namespace quarnel::test
