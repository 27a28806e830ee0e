#pragma once
// Range tables used by the inverse transforms and the block store. Lookups clamp their
// index to the table first, so a sample far outside the expected range cannot read past it.

#include <algorithm>
#include <array>
#include <cstdint>

namespace quarnel {

// Inverse-transform output range -256 .. 255, indexed -512 .. 511.
inline constexpr int sample_table_bias = 512;
inline constexpr auto sample_table = [] {
    std::array<std::int16_t, 1024> t{};
    for (int i = 0; i < 1024; ++i) t[i] = static_cast<std::int16_t>(std::clamp(i - 512, -256, 255));
    return t;
}();

inline std::int16_t clamp_sample(int v) {
    return sample_table[static_cast<std::size_t>(std::clamp(v, -512, 511) + sample_table_bias)];
}

// Pixel range 0 .. 255, indexed -384 .. 639: a prediction plus a clamped sample.
inline constexpr int pixel_table_bias = 384;
inline constexpr auto pixel_table = [] {
    std::array<std::uint8_t, 1024> t{};
    for (int i = 0; i < 1024; ++i) t[i] = static_cast<std::uint8_t>(std::clamp(i - 384, 0, 255));
    return t;
}();

inline std::uint8_t clamp_pixel(int v) {
    return pixel_table[static_cast<std::size_t>(std::clamp(v, -384, 639) + pixel_table_bias)];
}

}  // namespace quarnel
