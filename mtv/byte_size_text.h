#pragma once
// A byte count as a short text for people: "812 bytes", "1.50 KB", "4.66 GB".

#include <cstdint>
#include <string>

namespace quarnel {

// Below 1024 the exact count in bytes; above, three significant digits in the largest unit
// of 1024 (KB, MB, GB, TB, PB, EB) that keeps the number below 1024, rounded to nearest.
std::string byte_size_text(std::uint64_t bytes);

}  // namespace quarnel
