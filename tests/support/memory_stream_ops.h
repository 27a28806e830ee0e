#pragma once
// A stream layer over bytes in memory, optionally delivering at most `max_read` bytes per read
// the way a demultiplexing layer may.

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "video/stream_ops.h"

namespace quarnel::test {

class MemoryStreamOps : public StreamOps {
  public:
    explicit MemoryStreamOps(std::vector<std::uint8_t> bytes,
                             std::size_t max_read = std::numeric_limits<std::size_t>::max())
        : bytes_(std::move(bytes)), max_read_(max_read) {}

    std::size_t read(std::uint8_t* destination, std::size_t size) override {
        const std::size_t n = std::min({size, max_read_, bytes_.size() - position_});
        if (n > 0) std::memcpy(destination, bytes_.data() + position_, n);
        position_ += n;
        return n;
    }

    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override {
        const auto size = static_cast<std::int64_t>(bytes_.size());
        const std::int64_t base = origin == SeekOrigin::begin     ? 0
                                  : origin == SeekOrigin::current ? tell()
                                                                  : size;
        position_ = static_cast<std::size_t>(std::clamp<std::int64_t>(base + offset, 0, size));
        return tell();
    }

    std::int64_t tell() override { return static_cast<std::int64_t>(position_); }

  private:
    std::vector<std::uint8_t> bytes_;
    std::size_t max_read_;
    std::size_t position_ = 0;
};

}  // namespace quarnel::test
