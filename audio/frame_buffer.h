#pragma once
// Collects the elementary-stream bytes of the chosen audio stream, packet payload after
// packet payload, and hands them out frame by frame.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace quarnel {

class FrameBuffer {
  public:
    // Capacity of the block that holds `size` bytes: the next multiple of 4096 above it,
    // so that a block always keeps at least one byte spare.
    static std::size_t capacity_for(std::size_t size);

    // Frees the block; the buffer holds nothing afterwards.
    void clear();

    // Adds `count` bytes after those held. Bytes already handed out are dropped when the
    // block must be compacted or replaced. Returns false, leaving the buffer as it was, when
    // a larger block cannot be allocated.
    bool append(const std::uint8_t* bytes, std::size_t count);

    // Moves the read position to the next frame sync and returns it, or returns nullptr
    // with the read position on the last byte held.
    const std::uint8_t* find_sync();

    // Moves the read position to the next frame whose header parses and whose end is
    // confirmed (the data ends exactly there or a frame sync follows) and returns it;
    // nullptr when more data is needed to decide.
    const std::uint8_t* find_next_frame();

    // Bytes from the read position to the end of the data.
    std::size_t available() const { return length_ - read_; }
    const std::uint8_t* read_pointer() const { return base_.get() + read_; }
    // Copies `count` bytes from the read position and moves past them; false, copying
    // nothing, when fewer are held.
    bool take(std::uint8_t* destination, std::size_t count);

    std::size_t length() const { return length_; }
    std::size_t capacity() const { return capacity_; }

  private:
    std::unique_ptr<std::uint8_t[]> base_;
    std::size_t read_ = 0;  // offset of the next byte to hand out
    std::size_t length_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace quarnel
