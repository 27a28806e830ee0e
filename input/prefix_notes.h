#pragma once
// Start code prefixes noted while a search runs forward through bytes being delivered, so
// that whoever reads those bytes next can look the prefixes up instead of searching again.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "base/stream_ops.h"

namespace quarnel {

class PrefixNotes {
  public:
    // Prefixes noted at most; the notes then hold only for the bytes before the first one
    // left out. A coded picture has a few dozen slices.
    static constexpr std::size_t capacity = 2048;

    void clear() {
        count_ = 0;
        first_left_out_ = unbounded;
    }
    // Notes the prefix at `offset`; prefixes are noted in ascending order.
    void note(std::size_t offset) {
        if (count_ < capacity)
            offsets_[count_++] = static_cast<std::uint32_t>(offset);
        else
            first_left_out_ = std::min(first_left_out_, offset);
    }
    // The notes as found start codes of `delivered` bytes, given that every prefix beginning
    // before `searched` was noted.
    FoundStartCodes found(std::size_t searched, std::size_t delivered) const {
        const std::size_t complete_before = std::min(searched, first_left_out_);
        if (complete_before == 0) return {};
        // A prefix beginning at p lies in bytes [0, end) when p + 3 <= end.
        const std::size_t end = std::min(complete_before + 2, delivered);
        std::size_t count = count_;
        while (count > 0 && offsets_[count - 1] + 3 > end) --count;
        return {0, end, {offsets_.data(), count}};
    }

  private:
    static constexpr std::size_t unbounded = ~std::size_t{0};

    std::array<std::uint32_t, capacity> offsets_{};
    std::size_t count_ = 0;
    std::size_t first_left_out_ = unbounded;
};

}  // namespace quarnel
