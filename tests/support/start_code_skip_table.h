#pragma once
// The start-code search as a plain skip-table loop: the oracle the fast search must agree with.

#include <cstdint>

namespace quarnel::test {

// First position p in [from, end) with p + 2 < end whose bytes are 00 00 01, or nullptr.
const std::uint8_t* find_start_code_skip_table(const std::uint8_t* from, const std::uint8_t* end);

}  // namespace quarnel::test
