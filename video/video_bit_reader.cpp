#include "video/video_bit_reader.h"

#include <algorithm>
#include <cstring>

#include "base/start_code.h"

namespace quarnel {

VideoBitReader::VideoBitReader(std::unique_ptr<StreamOps> layer)
    : layer_(std::move(layer)),
      storage_(std::make_unique<std::uint8_t[]>(carry_size + buffer_size)),
      buffer_(storage_.get() + carry_size),
      buffer_end_(buffer_),
      cursor_(buffer_) {}

std::string_view container_layer_name(ContainerLayer layer) {
    switch (layer) {
        case ContainerLayer::program_stream: return "ps";
        case ContainerLayer::transport_stream: return "ts";
        case ContainerLayer::elementary_stream: break;
    }
    return "es";
}

std::unique_ptr<VideoBitReader> VideoBitReader::open(std::unique_ptr<StreamOps> layer,
                                                     ContainerLayer container) {
    if (!layer) return nullptr;
    std::unique_ptr<VideoBitReader> reader(new VideoBitReader(std::move(layer)));
    reader->container_ = container;
    reader->stream_size_ = reader->layer_->seek(0, SeekOrigin::end);
    reader->bit_reader_seek(0, SeekOrigin::begin);
    return reader;
}

void VideoBitReader::read_into_buffer() {
    buffer_position_ = layer_->tell();
    const std::size_t length = std::min(layer_->read(buffer_, buffer_size), buffer_size);
    buffer_end_ = buffer_ + length;
    cursor_ = buffer_;
    found_ = layer_->found_start_codes();
    if (found_.begin >= found_.end || found_.end > length) found_ = {};
    // Only this reader moves the layer, so its position stays here until the next read or
    // seek; asking the layer again at every start code would cost a system call each time.
    layer_position_ = layer_->tell();
}

bool VideoBitReader::load_buffer() {
    // The carry area keeps the last bytes in front of the new buffer. Only bytes that were
    // read since the last seek are ever searched or loaded from it.
    std::memmove(buffer_ - carry_size, buffer_end_ - carry_size, carry_size);
    read_into_buffer();
    return buffer_end_ != buffer_;
}

std::uint32_t VideoBitReader::get_bits_across_end(int n) {
    std::uint64_t bits = 0;
    while (valid_bits_ < n) {
        bits |= std::uint64_t{window_} << (n - valid_bits_);
        n -= valid_bits_;
        valid_bits_ = 0;
        fill_window();
        if (valid_bits_ == 0) return static_cast<std::uint32_t>(bits);
    }
    bits |= window_ >> (valid_bits_ - n);
    valid_bits_ -= n;
    fill_window();
    return static_cast<std::uint32_t>(bits);
}

bool VideoBitReader::skip_bits(std::int64_t n) {
    while (n > valid_bits_) {
        n -= valid_bits_;
        valid_bits_ = 0;
        fill_window();
        if (valid_bits_ == 0) return false;
    }
    valid_bits_ -= static_cast<int>(n);
    fill_window();
    return true;
}

const std::uint8_t* VideoBitReader::find_prefix(const std::uint8_t* from) const {
    if (found_.end == 0) return find_start_code(from, buffer_end_);
    // A prefix that begins before the bytes the layer searched ends within their first two.
    const std::uint8_t* const searched = buffer_ + found_.begin;
    if (from < searched) {
        const std::ptrdiff_t overlap = std::min<std::ptrdiff_t>(2, buffer_end_ - searched);
        if (const std::uint8_t* hit = find_start_code(from, searched + overlap)) return hit;
        from = searched;
    }
    // One that lies in them is looked up; the bytes after them are searched.
    const std::uint8_t* const searched_end = buffer_ + found_.end;
    if (searched_end - from >= 3) {
        const auto offset = static_cast<std::uint32_t>(from - searched);
        const auto found = std::lower_bound(found_.offsets.begin(), found_.offsets.end(), offset);
        if (found != found_.offsets.end()) return searched + *found;
        from = searched_end - 2;
    }
    return find_start_code(from, buffer_end_);
}

bool VideoBitReader::next_start_code(std::int64_t limit) {
    // Whole bytes still in the window go back; a partly consumed byte does not.
    cursor_ -= valid_bits_ / 8;
    valid_bits_ = 0;
    const std::uint8_t* prefix;
    while ((prefix = find_prefix(cursor_)) == nullptr) {
        // Up to two unsearched bytes may begin a prefix that the next read completes; they
        // stay reachable in the carry area. Bytes before the cursor are never searched.
        const auto unsearched = std::min<std::ptrdiff_t>(2, buffer_end_ - cursor_);
        if (layer_position_ > limit) {
            cursor_ = buffer_end_;
            return false;
        }
        if (!load_buffer()) return false;
        cursor_ = buffer_ - unsearched;
    }
    cursor_ = prefix;
    fill_window();
    start_code_position_ = stream_position();
    return true;
}

std::int64_t VideoBitReader::stream_position() const {
    const std::ptrdiff_t offset = (cursor_ - buffer_) - valid_bits_ / 8;
    if (offset < 0) return buffer_position_ + offset;  // a byte held in the carry area
    return layer_position_ - (buffer_end_ - buffer_) + offset;
}

std::int64_t VideoBitReader::bit_reader_seek(std::int64_t offset, SeekOrigin origin) {
    layer_->seek(offset, origin);
    read_into_buffer();
    valid_bits_ = 0;
    fill_window();
    return stream_position();
}

}  // namespace quarnel
