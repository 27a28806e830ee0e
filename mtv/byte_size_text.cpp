#include "mtv/byte_size_text.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace quarnel {
namespace {

// Digits after the point that leave three significant digits, judged after rounding so
// that 9.996 becomes "10.0" rather than "10.00".
int decimals_for(double value) {
    if (std::round(value * 100) < 1000) return 2;
    if (std::round(value * 10) < 1000) return 1;
    return 0;
}

}  // namespace

std::string byte_size_text(std::uint64_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + " bytes";
    static constexpr std::array<std::string_view, 6> units{"KB", "MB", "GB", "TB", "PB", "EB"};
    double value = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    // A value that would show as 1024 moves up a unit: 1023.7 KB is "1.00 MB".
    while (unit + 1 < units.size() && std::round(value) >= 1024) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.*f %s", decimals_for(value), value, units[unit].data());
    return text;
}

}  // namespace quarnel
