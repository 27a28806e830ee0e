#pragma once
// The adjustment that remixes YUY2 output from one colour matrix to another.

#include <array>
#include <cstdint>

namespace quarnel {

// k0 .. k5 of the YUY2 matrix adjustment, 16.16.
using Yuy2Record = std::array<std::int32_t, 6>;
inline constexpr Yuy2Record yuy2_identity{0, 0, 65536, 0, 0, 65536};

}  // namespace quarnel
