#pragma once
// Reads a video elementary stream MSB-first in fields of up to 32 bits and finds its
// byte-aligned start codes (ISO/IEC 13818-2, 5.3 and 6.2.1). The bytes come from a stream
// layer that has already separated the video from its container.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "base/stream_ops.h"

namespace quarnel {

// The container a video stream was taken from.
enum class ContainerLayer { elementary_stream, program_stream, transport_stream };
std::string_view container_layer_name(ContainerLayer layer);  // "es", "ps", "ts"

class VideoBitReader {
  public:
    static constexpr std::size_t buffer_size = 0x80000;  // one read from the layer
    // Bytes kept in front of the buffer so that a start code prefix split across two reads,
    // or bytes handed back from the bit window, can be searched in one piece.
    static constexpr std::size_t carry_size = 8;

    // Takes the layer, measures the stream and loads the first buffer; nullptr without a layer.
    static std::unique_ptr<VideoBitReader> open(
        std::unique_ptr<StreamOps> layer,
        ContainerLayer container = ContainerLayer::elementary_stream);

    // The next n bits (1 to 32) without consuming them; zero bits past the end of the stream.
    std::uint32_t peek_bits(int n) const {
        assert(n >= 1 && n <= 32);
        if (n <= valid_bits_) return static_cast<std::uint32_t>(window_ >> (valid_bits_ - n));
        return static_cast<std::uint32_t>(std::uint64_t{window_} << (n - valid_bits_));
    }

    // Consumes and returns the next n bits (0 to 32). Past the end of the stream the bits that
    // were left come out in the high positions with zeros below.
    std::uint32_t get_bits(int n) {
        assert(n >= 0 && n <= 32);
        if (n == 0) return 0;
        if (n > valid_bits_) return get_bits_across_end(n);
        const auto bits = static_cast<std::uint32_t>(window_ >> (valid_bits_ - n));
        valid_bits_ -= n;
        fill_window();
        return bits;
    }

    // Consumes n bits (any n >= 0); false when the stream ended first.
    bool skip_bits(std::int64_t n);

    // Moves to the first 00 00 01 at or after the first whole unconsumed byte and loads it into
    // the window, unconsumed: called twice it finds the same start code. False at the end, and
    // once the search has read past `limit` without a prefix (the reader then stands after the
    // bytes searched; a buffer read before passing `limit` may yield a prefix beyond it).
    bool next_start_code(std::int64_t limit = std::numeric_limits<std::int64_t>::max());

    // Position of the first whole byte not yet consumed.
    std::int64_t stream_position() const;

    // Repositions the layer (origin begin or end), reloads and returns stream_position().
    std::int64_t bit_reader_seek(std::int64_t offset, SeekOrigin origin);

    // Which layer delivers the stream.
    ContainerLayer container_layer() const { return container_; }
    // Size of the stream as the layer reported it at open.
    std::int64_t stream_size() const { return stream_size_; }
    // Where the last successful next_start_code found its start code.
    std::int64_t start_code_position() const { return start_code_position_; }

  private:
    explicit VideoBitReader(std::unique_ptr<StreamOps> layer);

    // Tops the window up to 25 or more valid bits, a byte at a time; stops at the end.
    void fill_window() {
        window_ &= static_cast<std::uint32_t>((std::uint64_t{1} << valid_bits_) - 1);
        for (int bytes = (32 - valid_bits_) / 8; bytes > 0; --bytes) {
            if (cursor_ == buffer_end_ && !load_buffer()) return;
            window_ = (window_ << 8) | *cursor_++;
            valid_bits_ += 8;
        }
    }

    // The first start code prefix at or after `from` in the buffer (or its carry area): the
    // prefixes the layer found in the buffer are looked up, the other bytes searched.
    const std::uint8_t* find_prefix(const std::uint8_t* from) const;
    // Reads the next buffer after the current one; false when the layer has no more bytes.
    bool load_buffer();
    void read_into_buffer();
    std::uint32_t get_bits_across_end(int n);

    std::unique_ptr<StreamOps> layer_;
    std::unique_ptr<std::uint8_t[]> storage_;  // carry area, then the buffer
    std::uint8_t* const buffer_;
    const std::uint8_t* buffer_end_;
    const std::uint8_t* cursor_;
    std::uint32_t window_ = 0;  // the next valid_bits_ bits, right-aligned, higher bits zero
    int valid_bits_ = 0;
    ContainerLayer container_ = ContainerLayer::elementary_stream;
    std::int64_t stream_size_ = 0;
    std::int64_t buffer_position_ = 0;  // layer position before the current buffer was read
    std::int64_t layer_position_ = 0;   // and after it
    std::int64_t start_code_position_ = 0;
    FoundStartCodes found_;  // what the layer found in the buffer's bytes
};

}  // namespace quarnel
