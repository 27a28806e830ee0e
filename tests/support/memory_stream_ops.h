#pragma once
// A stream layer over bytes in memory, optionally delivering at most `max_read` bytes per read
// the way a demultiplexing layer may, and reporting the start codes of a random part of each
// read the way a layer that searched that part does.

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "base/stream_ops.h"

namespace quarnel::test {

class MemoryStreamOps : public StreamOps {
  public:
    explicit MemoryStreamOps(std::vector<std::uint8_t> bytes,
                             std::size_t max_read = std::numeric_limits<std::size_t>::max())
        : bytes_(std::move(bytes)), max_read_(max_read) {}

    std::size_t read(std::uint8_t* destination, std::size_t size) override {
        const std::size_t n = std::min({size, max_read_, bytes_.size() - position_});
        if (n > 0) std::memcpy(destination, bytes_.data() + position_, n);
        if (reporting_) report_found(position_, n);
        position_ += n;
        return n;
    }

    // From now on each read reports the start codes of a part of its bytes drawn at random.
    void report_found_start_codes(unsigned seed) { reporting_.emplace(seed); }
    FoundStartCodes found_start_codes() const override {
        return {found_begin_, found_end_, found_offsets_};
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
    void report_found(std::size_t at, std::size_t n) {
        std::mt19937& rng = *reporting_;
        found_begin_ = rng() % (n + 1);
        found_end_ = found_begin_ + rng() % (n - found_begin_ + 1);
        found_offsets_.clear();
        for (std::size_t p = found_begin_; p + 3 <= found_end_; ++p) {
            const std::uint8_t* prefix = bytes_.data() + at + p;
            if (prefix[0] == 0 && prefix[1] == 0 && prefix[2] == 1)
                found_offsets_.push_back(static_cast<std::uint32_t>(p - found_begin_));
        }
    }

    std::vector<std::uint8_t> bytes_;
    std::size_t max_read_;
    std::size_t position_ = 0;
    std::optional<std::mt19937> reporting_;
    std::size_t found_begin_ = 0;
    std::size_t found_end_ = 0;
    std::vector<std::uint32_t> found_offsets_;
};

}  // namespace quarnel::test
