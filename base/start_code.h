#pragma once
// Searches for the MPEG start code prefix 00 00 01 (ISO/IEC 13818-1 and 13818-2).

#include <cstdint>

namespace quarnel {

// First position p in [from, end) with p + 2 < end whose bytes are 00 00 01, or nullptr.
const std::uint8_t* find_start_code(const std::uint8_t* from, const std::uint8_t* end);

// Nearest prefix whose 0x01 byte lies at or before `from` and whose first byte lies at or
// after `start`; returns the prefix's first byte, or nullptr.
const std::uint8_t* find_start_code_backward(const std::uint8_t* from, const std::uint8_t* start);

}  // namespace quarnel
