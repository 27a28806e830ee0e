#pragma once
// Raw bytes of a file set, read in blocks of 512 KiB, with an MSB-first bit cache and
// start-code searches that run across block boundaries in both directions.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>

#include "input/file_set.h"

namespace quarnel {

class SettingsStore;

class BlockReader {
  public:
    static constexpr std::ptrdiff_t block_size = 0x80000;

    // The position: the first whole byte not yet consumed.
    std::int64_t tell() const { return buffer_position_ + cursor_ - valid_bits_ / 8; }
    // Reloads the block at the new position and returns it; the whole buffer is discarded.
    std::int64_t seek(std::int64_t offset, SeekOrigin origin);

    // The next n bits (1 to 32), not consumed; at the end of the file the missing low bits
    // are zero.
    std::uint32_t peek_bits(int n) const;
    // The next n bits (0 to 32), consumed; 0 for n = 0.
    std::uint32_t get_bits(int n);
    // Copies whole bytes from the position; fewer than `count` only at the end of the file.
    std::size_t read_bytes(std::uint8_t* destination, std::size_t count);

    // The bytes from the position to the end of the current block, for callers that parse or
    // copy them in place; empty while the cache holds bytes of the block before. Valid until
    // the reader next moves.
    std::span<const std::uint8_t> block_rest() const;
    // Consumes `count` bytes, at most block_rest().size().
    void skip_in_block(std::size_t count) {
        start_cache_at(cursor_ - valid_bits_ / 8 + static_cast<std::ptrdiff_t>(count));
    }

    // Moves to the next prefix 00 00 01 at or after the position; the cache then begins with
    // the start code 0x000001xx. False at the end of the file, where the reader is left; false
    // as well once the search has passed `limit` without a prefix, the reader then standing
    // at the end of the last block searched (a block may hold a prefix beyond `limit`).
    bool next_start_code(std::int64_t limit = std::numeric_limits<std::int64_t>::max());
    // Moves to the nearest prefix whose 01 byte lies no later than the cached bytes' end,
    // which may be the one at the position. False when there is none; the position is then
    // unchanged.
    bool prev_start_code();
    // Returns the cached bytes to the stream: right after a start-code search the reader then
    // stands on the prefix's first byte, so that prev_start_code finds only earlier prefixes.
    void step_back();

    // The files being read, for their count and boundaries.
    const FileSetOps& file_set() const { return *files_; }

  private:
    friend std::unique_ptr<BlockReader> block_reader_open(const std::string& path,
                                                          const SettingsStore& settings);
    // Room before the buffer for pushed-back cache bytes and the tail of the previous block;
    // room after it for the head of the following block while stepping backwards.
    static constexpr std::ptrdiff_t lead_size = 8;
    static constexpr std::ptrdiff_t trail_size = 8;

    explicit BlockReader(std::unique_ptr<FileSetOps> files);

    // Refills the cache to 25 to 32 valid bits, or fewer at the end of the file.
    void fill();
    // Reads the block that follows the buffer; false at the end of the file.
    bool load_next_block();
    // Reads the block that precedes the buffer and keeps the buffer's head after it.
    bool load_previous_block();
    void push_back_cache();
    void start_cache_at(std::ptrdiff_t index);

    std::unique_ptr<FileSetOps> files_;
    std::unique_ptr<std::uint8_t[]> storage_;  // lead area, buffer, trail area
    std::uint8_t* buffer_ = nullptr;
    std::int64_t buffer_position_ = 0;  // file position of the buffer's first byte
    std::ptrdiff_t length_ = 0;         // bytes of the block in the buffer
    std::ptrdiff_t trail_length_ = 0;   // bytes of the following block kept after it
    // The next byte to enter the cache, relative to the buffer: negative in the lead area.
    std::ptrdiff_t cursor_ = 0;
    std::uint32_t cache_ = 0;  // the next bits, right-aligned; bits above valid_bits_ are zero
    int valid_bits_ = 0;
};

// Nullptr when the file cannot be opened or is empty.
std::unique_ptr<BlockReader> block_reader_open(const std::string& path,
                                               const SettingsStore& settings);

inline void BlockReader::fill() {
    while (valid_bits_ <= 24) {
        if (cursor_ >= length_ && !load_next_block()) return;
        cache_ = (cache_ << 8) | buffer_[cursor_++];
        valid_bits_ += 8;
    }
}

inline std::span<const std::uint8_t> BlockReader::block_rest() const {
    const std::ptrdiff_t at = cursor_ - valid_bits_ / 8;
    if (at < 0) return {};
    return {buffer_ + at, static_cast<std::size_t>(length_ - at)};
}

inline std::uint32_t BlockReader::peek_bits(int n) const {
    if (n <= 0) return 0;
    if (n > 32) n = 32;
    if (n <= valid_bits_) return cache_ >> (valid_bits_ - n);
    return valid_bits_ == 0 ? 0 : cache_ << (n - valid_bits_);
}

inline std::uint32_t BlockReader::get_bits(int n) {
    if (n <= 0) return 0;
    if (n > 32) n = 32;
    std::uint32_t result = 0;
    while (n >= valid_bits_) {
        // Take every cached bit; more may follow after the refill.
        if (valid_bits_ > 0) result |= cache_ << (n - valid_bits_);
        n -= valid_bits_;
        valid_bits_ = 0;
        cache_ = 0;
        fill();
        if (valid_bits_ == 0 || n == 0) return result;
    }
    valid_bits_ -= n;
    result |= cache_ >> valid_bits_;
    cache_ &= (std::uint32_t{1} << valid_bits_) - 1;
    fill();
    return result;
}

}  // namespace quarnel
