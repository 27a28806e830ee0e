#include "audio/frame_buffer.h"

#include <cstring>
#include <new>

#include "audio/frame_header.h"

namespace quarnel {

std::size_t FrameBuffer::capacity_for(std::size_t size) {
    constexpr std::size_t block = 4096;
    return (size / block + 1) * block;
}

void FrameBuffer::clear() {
    *this = FrameBuffer{};
}

bool FrameBuffer::append(const std::uint8_t* bytes, std::size_t count) {
    if (count == 0) return true;
    if (length_ + count < capacity_) {
        std::memcpy(base_.get() + length_, bytes, count);
        length_ += count;
        return true;
    }
    const std::size_t unread = length_ - read_;
    if (base_ && unread + count < capacity_) {
        std::memmove(base_.get(), base_.get() + read_, unread);
        std::memcpy(base_.get() + unread, bytes, count);
        read_ = 0;
        length_ = unread + count;
        return true;
    }
    const std::size_t capacity = capacity_for(unread + count);
    std::unique_ptr<std::uint8_t[]> block(new (std::nothrow) std::uint8_t[capacity]);
    if (!block) return false;
    if (unread != 0) std::memcpy(block.get(), base_.get() + read_, unread);
    std::memcpy(block.get() + unread, bytes, count);
    base_ = std::move(block);
    read_ = 0;
    length_ = unread + count;
    capacity_ = capacity;
    return true;
}

const std::uint8_t* FrameBuffer::find_sync() {
    if (length_ < 2) return nullptr;
    const std::uint8_t* data = base_.get();
    for (; read_ < length_ - 1; ++read_) {
        if (is_frame_sync(data + read_)) return data + read_;
    }
    return nullptr;
}

const std::uint8_t* FrameBuffer::find_next_frame() {
    const std::uint8_t* end = base_.get() + length_;
    AudioFrameHeader header;
    while (const std::uint8_t* p = find_sync()) {
        if (end - p <= 4) return nullptr;
        if (parse_audio_header(read_header_word(p), header)) {
            const std::ptrdiff_t room = end - p;
            if (header.frame_length == room) return p;
            if (header.frame_length + 1 >= room) return nullptr;  // more data is needed
            if (is_frame_sync(p + header.frame_length)) return p;
        }
        ++read_;
    }
    return nullptr;
}

bool FrameBuffer::take(std::uint8_t* destination, std::size_t count) {
    if (count > available()) return false;
    if (count != 0) std::memcpy(destination, base_.get() + read_, count);
    read_ += count;
    return true;
}

}  // namespace quarnel
