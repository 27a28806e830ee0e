#include "input/block_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/start_code.h"

namespace quarnel {

BlockReader::BlockReader(std::unique_ptr<FileSetOps> files)
    : files_(std::move(files)),
      storage_(std::make_unique<std::uint8_t[]>(lead_size + block_size + trail_size)),
      buffer_(storage_.get() + lead_size) {}

std::unique_ptr<BlockReader> block_reader_open(const std::string& path,
                                               const SettingsStore& settings) {
    auto files = file_set_open(path, settings);
    if (!files) return nullptr;
    std::unique_ptr<BlockReader> reader(new BlockReader(std::move(files)));
    if (!reader->load_next_block()) return nullptr;  // an empty file
    reader->fill();
    return reader;
}

bool BlockReader::load_next_block() {
    const std::size_t got = files_->read(buffer_, block_size);
    length_ = static_cast<std::ptrdiff_t>(got);
    buffer_position_ = files_->tell() - length_;
    trail_length_ = 0;
    cursor_ = 0;
    return got > 0;
}

bool BlockReader::load_previous_block() {
    if (buffer_position_ <= 0) return false;
    std::uint8_t head[trail_size];
    const std::ptrdiff_t kept = std::min(trail_size, length_);
    std::memcpy(head, buffer_, static_cast<std::size_t>(kept));
    const std::int64_t start =
        buffer_position_ - std::min<std::int64_t>(buffer_position_, block_size);
    const auto wanted = static_cast<std::size_t>(buffer_position_ - start);
    if (files_->seek(start, SeekOrigin::begin) != start) return false;
    if (files_->read(buffer_, wanted) != wanted) return false;
    std::memcpy(buffer_ + wanted, head, static_cast<std::size_t>(kept));
    length_ = static_cast<std::ptrdiff_t>(wanted);
    buffer_position_ = start;
    trail_length_ = kept;
    return true;
}

void BlockReader::push_back_cache() {
    // The whole bytes in the cache are its low bits. When they came partly from the previous
    // block, they are written back into the lead area, most significant first.
    const int count = valid_bits_ / 8;
    const std::ptrdiff_t from = cursor_ - count;
    for (int i = 0; i < count && from + i < 0; ++i)
        buffer_[from + i] = static_cast<std::uint8_t>(cache_ >> (8 * (count - 1 - i)));
    cursor_ = from;
    valid_bits_ = 0;
    cache_ = 0;
}

void BlockReader::start_cache_at(std::ptrdiff_t index) {
    cursor_ = index;
    valid_bits_ = 0;
    cache_ = 0;
    fill();
}

std::int64_t BlockReader::seek(std::int64_t offset, SeekOrigin origin) {
    if (origin == SeekOrigin::current) {
        const std::int64_t here = tell();
        offset = offset > std::numeric_limits<std::int64_t>::max() - here
                     ? std::numeric_limits<std::int64_t>::max()
                     : here + offset;
        origin = SeekOrigin::begin;
    }
    files_->seek(offset, origin);
    load_next_block();
    start_cache_at(0);
    return tell();
}

void BlockReader::step_back() {
    push_back_cache();
}

std::size_t BlockReader::read_bytes(std::uint8_t* destination, std::size_t count) {
    push_back_cache();
    std::size_t copied = 0;
    while (copied < count) {
        if (cursor_ >= length_) {
            if (!load_next_block()) break;
            continue;
        }
        const auto n = std::min(static_cast<std::size_t>(length_ - cursor_), count - copied);
        std::memcpy(destination + copied, buffer_ + cursor_, n);
        cursor_ += static_cast<std::ptrdiff_t>(n);
        copied += n;
    }
    fill();
    return copied;
}

bool BlockReader::next_start_code(std::int64_t limit) {
    push_back_cache();
    for (;;) {
        if (const auto* hit = find_start_code(buffer_ + cursor_, buffer_ + length_)) {
            start_cache_at(hit - buffer_);
            return true;
        }
        // The last two bytes searched may begin a prefix that ends in the next block: keep
        // them in the lead area, just before the block that is read next.
        const std::ptrdiff_t keep = std::min<std::ptrdiff_t>(2, length_ - cursor_);
        if (buffer_position_ + length_ > limit) {
            cursor_ = length_;
            return false;
        }
        std::memmove(buffer_ - keep, buffer_ + length_ - keep, static_cast<std::size_t>(keep));
        if (!load_next_block()) return false;  // the reader stays at the end of the file
        cursor_ = -keep;
    }
}

bool BlockReader::prev_start_code() {
    const std::int64_t position = tell();
    // The 01 byte of the prefix sought lies at or before `from`, counted from the buffer start;
    // it may be negative after a step back over bytes of the previous block.
    std::ptrdiff_t from = cursor_;
    for (;;) {
        // Only bytes in memory are searched; the candidates after them lie beyond the file.
        const std::ptrdiff_t last = std::min(from, length_ + trail_length_ - 1);
        if (last >= 2) {
            if (const auto* hit = find_start_code_backward(buffer_ + last, buffer_)) {
                start_cache_at(hit - buffer_);
                return true;
            }
        }
        // Prefixes whose 01 byte is one of the first two may begin in the previous block.
        from = std::min<std::ptrdiff_t>(from, 2);
        if (!load_previous_block()) {
            seek(position, SeekOrigin::begin);
            return false;
        }
        from += length_;
    }
}

}  // namespace quarnel
