#pragma once
// Checks what a stream layer reports of the start codes in the bytes it delivered.

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/stream_ops.h"
#include "support/start_code_skip_table.h"

namespace quarnel::test {

// Whether `found` names a part of `read` and lists exactly the prefixes lying in that part.
inline bool lists_every_prefix(std::span<const std::uint8_t> read, const FoundStartCodes& found) {
    if (found.begin > found.end || found.end > read.size()) return false;
    const std::uint8_t* const end = read.data() + found.end;
    std::size_t listed = 0;
    for (const std::uint8_t* p = read.data() + found.begin;
         (p = find_start_code_skip_table(p, end)) != nullptr; p += 3) {
        const auto offset = static_cast<std::size_t>(p - read.data()) - found.begin;
        if (listed == found.offsets.size() || found.offsets[listed++] != offset) return false;
    }
    return listed == found.offsets.size();
}

}  // namespace quarnel::test
