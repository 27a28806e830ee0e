#pragma once
// Reads MSB-first bit fields from a block already in memory (a PES packet header, for one).
// It never reads past the end of the block: past the end it delivers zero bits.

#include <cstddef>
#include <cstdint>

namespace quarnel {

class MemoryBitReader {
  public:
    MemoryBitReader(const std::uint8_t* block, std::size_t length)
        : cursor_(block), end_(block + length) {
        fill();
    }

    // The next n bits (0 to 32), not consumed.
    std::uint32_t peek_bits(int n) const {
        if (n <= 0) return 0;
        if (n > 32) n = 32;
        return static_cast<std::uint32_t>(window_ >> (valid_bits_ - n));
    }

    // The next n bits (0 to 32), consumed.
    std::uint32_t get_bits(int n) {
        const std::uint32_t value = peek_bits(n);
        skip_bits(n);
        return value;
    }

    void skip_bits(int n) {
        if (n <= 0) return;
        if (n > 32) n = 32;
        total_ += static_cast<std::uint32_t>(n);
        valid_bits_ -= n;  // the window holds at least 32 bits after a fill
        window_ &= (std::uint64_t{1} << valid_bits_) - 1;
        fill();
    }

    // Whole bytes touched by what was consumed, a partly consumed byte counting as one.
    std::size_t bytes_consumed() const { return (std::size_t{total_} + 7) / 8; }

  private:
    // Tops the window up to 33 to 40 bits, so that any request of up to 32 bits is whole.
    void fill() {
        while (valid_bits_ <= 32) {
            const std::uint8_t byte = cursor_ < end_ ? *cursor_++ : 0;
            window_ = (window_ << 8) | byte;
            valid_bits_ += 8;
        }
    }

    const std::uint8_t* cursor_;
    const std::uint8_t* end_;
    std::uint64_t window_ = 0;  // right-aligned; only the low valid_bits_ bits are set
    int valid_bits_ = 0;
    std::uint32_t total_ = 0;
};

}  // namespace quarnel
